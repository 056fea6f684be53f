#pragma once
#include <QFrame>
#include <QString>
#include <QVector>

#include "plans/EdicaoPlano.h"

class QLabel;
class QTreeWidget;

// One problem the pre-send checks found in a plan: its field label and its message.
struct PendenciaPlano {
    QString campo;
    QString mensagem;
};

// Where a problem leads on the plan screen: the tab and the control (its object name).
struct DestinoPendencia {
    TEdicaoPlano::Aba aba = TEdicaoPlano::Aba::DadosGerais;
    QString controle;  // empty: a label the screen has no place for
};

// The place of every field label the pre-send checks write ("Tipo de Contratação", "Nota
// Técnica", "Estb. Saúde (...)", ...). The area's control is named "area": the screen
// takes the grid of the page shown (states or municipalities).
DestinoPendencia DestinoDaPendencia(const QString& campo);

// "Verificar pendências" on the plan screen: the panel at its bottom with one row per
// problem (field label, message). Double click or Enter on a row asks to go to its field;
// Escape hides the panel.
class TPainelPendencias : public QFrame {
    Q_OBJECT
public:
    explicit TPainelPendencias(QWidget* pai = nullptr);
    // Shows the result of a check (empty: the plan is ready) and takes the focus.
    void Mostra(const QVector<PendenciaPlano>& pendencias);
    // Empties and hides the panel (another plan is shown).
    void Limpa();
    bool Vazio() const;
    QTreeWidget* lista() const { return m_lista; }
    QLabel* rotulo() const { return m_rotulo; }
    static QString TextoSemPendencias() {
        return QStringLiteral("Nenhuma pendência: o plano está pronto para envio.");
    }

signals:
    void irPara(const QString& campo);

protected:
    bool eventFilter(QObject* alvo, QEvent* e) override;

private:
    void ativa();
    QLabel* m_rotulo;
    QTreeWidget* m_lista;
};
