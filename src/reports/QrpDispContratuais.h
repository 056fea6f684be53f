#pragma once
#include <QHash>

#include "common/FrmModBase.h"
#include "devices/DmClausula.h"
#include "reports/ModeloRelatorio.h"

class QComboBox;
class QPushButton;
class QRadioButton;

// "Relação de Dispositivos Contratuais": the operator's contract devices (of every theme
// or of one), each with its theme, codes, text and the value its theme calls for.
class TqrpDispContratuais : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    TqrpDispContratuais(TdmClausula& dm, const QString& cdOper, const QVariant& tema,
                        TdmClausula::OrdemRelDisp ordem, QObject* pai = nullptr);

    // The theme's caption: display order in Roman numerals, " - ", the name.
    static QString RotuloTema(const QVariant& ordem, const QVariant& nome);
    // The characteristic a theme calls for: the first of its flags that is "S" (in
    // the fixed order), or empty.
    static QString CampoCaracteristica(const QVariantMap& tema);
    // The complementary line of a device ("Tipo Contratação: Coletivo..."), or empty
    // when its theme calls for none of the attributes the report shows.
    QString Complemento(const QString& caracteristica, const QVariant& valor) const;

private:
    QHash<qlonglong, QString> m_caracteristicas;  // theme code -> flag column
};

// "Relação de Dispositivos Contratuais": theme and order of the device report.
class TfrmDlgPrintClausula : public TfrmModBase {
    Q_OBJECT
public:
    explicit TfrmDlgPrintClausula(QWidget* pai = nullptr);
    QComboBox* cmbTema;  // "TODOS", then the themes in force
    QRadioButton* rbCodigo;
    QRadioButton* rbTexto;
    QPushButton* btnImprimir;
    void ImprimirClick();
};

// Main window's "Relação de Dispositivos" and the device screen's report button.
void AbreRelatorioDispositivos(QWidget* pai);
