#pragma once
#include <functional>

#include "common/FrmModBase.h"
#include "reports/ModeloRelatorio.h"
#include "reports/UtilRelatorios.h"

class Banco;
class QCheckBox;
class QPushButton;
class QRadioButton;

// "Relação de Estabelecimentos de Saúde" (A4 landscape): every establishment with a known
// municipality, by CNPJ or by name, or only the ones not adequate.
class TqrpEstabSaude : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    enum class Ordem { Cnpj, RazaoSocial };
    TqrpEstabSaude(Banco& banco, Ordem ordem, bool somenteNaoAdequados, QObject* pai = nullptr);

    // The statement of the rows (no parameters).
    static QString Sql(Ordem ordem, bool somenteNaoAdequados);
    // Whether an establishment is not adequate: an included hospital-care establishment
    // without CNES linked to a plan; a missing name, type, municipality, start date or
    // classification; a contracted one (2000) without contracting type or date.
    // `valor` reads a column of the establishment; VINCULADO tells the plan link.
    static bool NaoAdequado(const std::function<QVariant(const QString&)>& valor);
    // "Próprio" for 1000, "Contratualizado" for 2000.
    static QString Relacionamento(const QVariant& tipo);
    // "Direta" for D, "Indireta" for I.
    static QString TipoContratacao(const QVariant& tipo);

protected:
    void AntesDeGerar() override;

private:
    bool m_somenteNaoAdequados;
    UtilRelatorios::MascaraDocumento m_mascara;
};

// "Relação de estabelecimentos de saúde": order and filter of the establishment list.
class TfrmDlgPrintEstabSaude : public TfrmModBase {
    Q_OBJECT
public:
    explicit TfrmDlgPrintEstabSaude(QWidget* pai = nullptr);
    QRadioButton* rbCnpj;
    QRadioButton* rbRazaoSocial;
    QCheckBox* chkNaoAdequados;
    QPushButton* btnImprimir;
    // Builds the report, shows it, then closes the dialog.
    void ImprimirClick();
};

// Main window's and establishment screen's "Relação de estabelecimentos de saúde".
void AbreRelacaoEstabelecimentos(QWidget* pai);
