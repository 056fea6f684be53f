#pragma once
#include <memory>

#include "request/FrmListaPlanos.h"
#include "request/LiberaRetifPlano.h"

class QAction;
class QLabel;
class QTableView;
class QToolButton;
class TFrameFiltro;

// " Liberar Planos de Saúde para Retificação": sent plans released so that they may be
// changed and sent again.
class TfrmLiberaRetifPlano : public TfrmListaPlanos {
    Q_OBJECT
public:
    explicit TfrmLiberaRetifPlano(QWidget* pai = nullptr);
    ~TfrmLiberaRetifPlano() override;

    TLiberaRetifPlano& logica() { return *m_logica; }
    void AtualizaAcoes();

    QAction* actMarcaTodos = nullptr;
    QAction* actDesmarcaTodos = nullptr;
    QAction* actLiberar = nullptr;
    QAction* actCancelar = nullptr;

protected:
    void abreLista(const QString& filtro, const QVariantList& parametros) override;
    void listaMudou() override { AtualizaAcoes(); }

private:
    void libera();

    std::unique_ptr<TLiberaRetifPlano> m_logica;
};

// The main window's entry.
void AbreLiberacaoRetificacao(QWidget* pai);
