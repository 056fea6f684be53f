#pragma once
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

#include "request/FrmListaPlanos.h"
#include "request/SolicitaRegPlano.h"

class QAction;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableView;
class QToolButton;
class QWidget;
class TFrameFiltro;

// "Solicitação de Registro de Planos": the plans that may be sent, the checks, the
// request files and the hand-over to the transmission dialog, the reports at the end.
class TfrmSolicitaRegPlano : public TfrmListaPlanos {
    Q_OBJECT
public:
    // The reports shown at the end of an action, installed by the program (the reports
    // live above this screen).
    struct Relatorios {
        std::function<void(QWidget*, const QStringList& planosEnviados)> planosEnviados;
        std::function<void(QWidget*)> erros;
    };
    static Relatorios& RelatoriosInstalados();

    explicit TfrmSolicitaRegPlano(QWidget* pai = nullptr);
    ~TfrmSolicitaRegPlano() override;

    TSolicitaRegPlano& logica() { return *m_logica; }
    void AtualizaAcoes();
    void VerificacaoInicial();
    void SolicitaEnvio(bool soVerificar);
    // Closing writes the list's pending changes first.
    void done(int resultado) override;

    QLabel* pnlRodapePlanos = nullptr;
    QWidget* pnlBarraProgresso = nullptr;
    QProgressBar* gauge = nullptr;
    QAction* actMarcaTodos = nullptr;
    QAction* actMarcaDesmarcar = nullptr;
    QAction* actLstEnviar = nullptr;
    QAction* actLstCancelar = nullptr;
    QPushButton* btnEnviar = nullptr;

protected:
    bool event(QEvent* e) override;
    void abreLista(const QString& filtro, const QVariantList& parametros) override;
    void listaMudou() override;

private:
    void duploClique();
    void reposiciona();

    std::unique_ptr<TSolicitaRegPlano> m_logica;
    QMetaObject::Connection m_ocioso;
    bool m_verificado = false;
    QVariant m_planoLembrado;
    QVariant m_planoSemPendencias;  // the plan a double-click check found nothing in
};

// The main window's entry.
void AbreSolicitacaoRegistro(QWidget* pai);
