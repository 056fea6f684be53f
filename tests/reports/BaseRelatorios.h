#pragma once
// A small test database for the reports: the current operator, the code tables, and the
// data modules the reports read (connection, operator, code tables, devices, errors).
#include <QDateTime>

#include "ApoioRelatorios.h"
#include "apoio/BaseModulos.h"
#include "app/ConduzModal.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "operator/DmZemlo.h"
#include "devices/DmClausula.h"
#include "reports/FrmPreviewQR.h"
#include "reports/Relatorio.h"
#include "request/DmExportacao.h"

namespace BaseRelatorios {

inline constexpr char kOperadora[] = "123455";
inline constexpr char kOutraOperadora[] = "345679";
inline constexpr qlonglong kSaoPaulo = 3550308;
inline constexpr qlonglong kCampinas = 3509502;

inline QDateTime agora() { return QDateTime(QDate(2024, 6, 15), QTime(10, 0)); }

// Text of a value for SQL written by the tests ("" = NULL).
inline QString q(const QString& v) {
    if (v.isEmpty()) return QStringLiteral("NULL");
    QString t = v;
    return QLatin1Char('\'') + t.replace(QLatin1String("'"), QLatin1String("''")) + QLatin1Char('\'');
}

// An establishment: all fields complete unless told otherwise.
struct Estab {
    int id;
    QString cnpj;
    QString nome;
    QString cnes = QStringLiteral("0012343");
    QString classif = QStringLiteral("1");
    QString tipo = QStringLiteral("1000");
    QString contrato;         // D, I
    QString dataContrato;     // yyyy-MM-dd
    QString dataVinculo = QStringLiteral("2020-01-01");
    QString municipio = QString::number(kSaoPaulo);
    QString incluido = QStringLiteral("N");
    QString oper = QString::fromLatin1(kOperadora);
    QString sql() const {
        return QStringLiteral(
                   "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNPJ_ESTB_SAUD, CD_CNES, "
                   "RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, "
                   "CD_TIPO_CONTRATO_ESTB_SAUDE, DT_CONTRATO_OPER, DT_VINCULO_OPER, ID_MUNC, "
                   "LG_HOSPITAL_INCLUIDO, LG_URGENCIA_EMERGENCIA) VALUES (%1, %2, %3, %4, %5, %6, %7, "
                   "%8, %9, %10, %11, %12, 'S');")
            .arg(id)
            .arg(q(oper), q(cnpj), q(cnes), q(nome))
            .arg(classif.isEmpty() ? QStringLiteral("NULL") : classif,
                 tipo.isEmpty() ? QStringLiteral("NULL") : tipo, q(contrato), q(dataContrato),
                 q(dataVinculo), municipio.isEmpty() ? QStringLiteral("NULL") : municipio, q(incluido));
    }
};

// A plan of the operator (codes as given; 0 = NULL).
inline QString plano(int seq, const QString& nome, int segmentacao = 2, int contrato = 2,
                     int abrangencia = 1, const QString& oper = QString::fromLatin1(kOperadora),
                     const QString& status = QStringLiteral("0")) {
    const auto n = [](int v) { return v ? QString::number(v) : QStringLiteral("NULL"); };
    return QStringLiteral(
               "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_SEGMENTACAO, "
               "CD_TIPO_CONTRATO, CD_ABRANGENCIA, CD_STATUS_ENVIO) VALUES (%1, %2, %3, %4, %5, %6, %7);")
        .arg(q(oper))
        .arg(seq)
        .arg(q(nome), n(segmentacao), n(contrato), n(abrangencia),
             status.isEmpty() ? QStringLiteral("NULL") : status);
}

inline QString vinculo(int idEstab, int seqPlano, const QString& oper = QString::fromLatin1(kOperadora)) {
    return QStringLiteral(
               "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, LG_NOVO) "
               "VALUES (%1, %2, %3, 'S');")
        .arg(q(oper))
        .arg(seqPlano)
        .arg(idEstab);
}

class Base : public Apoio::BaseModulos {
protected:
    std::unique_ptr<TDMZemlo> zemlo;
    std::unique_ptr<TdmLookup> lookup;
    std::unique_ptr<TdmClausula> clausula;
    std::unique_ptr<TDmExportacao> exportacao;

    // Creates the database with the operator (or the one given) and `sql`, then the modules.
    void inicia(const QString& sql = QString(), const QString& operadora = QString()) {
        Relogio::define(agora);
        const QString op =
            operadora.isNull()
                ? QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, "
                                 "CD_GRUPO_CLASSIFICACAO) VALUES ('%1', '11222333000181', "
                                 "'OPERADORA D''ÁVILA SAÚDE', 22);")
                      .arg(QLatin1String(kOperadora))
                : operadora;
        abreBanco(op + sql);
        cria(zemlo);
        cria(lookup);
        cria(clausula);
        cria(exportacao);
    }
    QString oper() const { return QString::fromLatin1(kOperadora); }

    static std::shared_ptr<DocumentoRelatorio> gera(Relatorio& r) {
        r.GeraTudo();
        return r.Documento();
    }
};

// Catches the next report shown in the preview: its document (once complete) and caption.
class PreviewVisto {
public:
    std::shared_ptr<DocumentoRelatorio> documento;
    QString titulo;
    int vezes = 0;
    PreviewVisto()
        : m_modais([this](QDialog& d) {
              auto* p = qobject_cast<TfrmPreviewQR*>(&d);
              if (!p) return m_outros ? m_outros(d) : int(QDialog::Rejected);
              ++vezes;
              EXPECT_TRUE(Apoio::espera([p] { return p->Completo(); }));
              documento = p->Documento();
              titulo = p->windowTitle();
              return int(QDialog::Rejected);
          }) {}
    // What to do with the other modal dialogs (the report's own dialog).
    explicit PreviewVisto(std::function<int(QDialog&)> outros) : PreviewVisto() {
        m_outros = std::move(outros);
    }

private:
    std::function<int(QDialog&)> m_outros;
    ApoioRelatorios::Modais m_modais;
};

}  // namespace BaseRelatorios
