#pragma once
// Shared set-up of the establishment tests: a test database with the current
// operator, the connection and the data modules the registry needs.
#include <QDateTime>

#include "apoio/Apoio.h"
#include "apoio/BaseModulos.h"
#include "db/DmConexao.h"
#include "db/DmMunicipio.h"
#include "operator/DmZemlo.h"
#include "network/DmHospital.h"
#include "platform/Plataforma.h"

namespace ApoioRede {

// Check digits are right in all of these.
inline constexpr char kOperadora[] = "123455";
inline constexpr char kOutraOperadora[] = "345679";
inline constexpr char kCnpj[] = "11222333000181";
inline constexpr char kOutroCnpj[] = "11444777000161";
inline constexpr char kCpf[] = "52998224725";
inline constexpr char kCnes[] = "0012343";
inline constexpr qlonglong kSaoPaulo = 3550308;

// "Today" of the tests.
inline QDateTime agora() { return QDateTime(QDate(2024, 6, 15), QTime(10, 0)); }

class Base : public Apoio::BaseModulos {
protected:
    std::unique_ptr<TDMZemlo> zemlo;
    std::unique_ptr<TDmHospital> dm;
    std::unique_ptr<TDmMunicipio> municipios;

    // Creates the database with the operator and `sql`, then the modules.
    void inicia(const QString& sql = QString()) {
        Relogio::define(agora);
        abreBanco(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO) "
                                 "VALUES ('%1', 'OPERADORA TESTE', 22);")
                      .arg(QLatin1String(kOperadora)) +
                  sql);
        cria(zemlo);
        cria(dm);
        cria(municipios);
    }
};

// An establishment row for the database ("" = NULL).
inline QString estab(int id, const char* cnes, const char* cnpj, const char* nome, int classif = 1,
                     const char* oper = kOperadora) {
    const auto q = [](const char* v) {
        return QString::fromUtf8(v).isEmpty() ? QStringLiteral("NULL")
                                              : QStringLiteral("'%1'").arg(QString::fromUtf8(v));
    };
    return QStringLiteral(
               "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNES, CD_CNPJ_ESTB_SAUD, "
               "RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, ID_MUNC, "
               "DT_VINCULO_OPER, "
               "LG_HOSPITAL_INCLUIDO, LG_URGENCIA_EMERGENCIA) VALUES (%1, %2, %3, %4, %5, %6, "
               "1000, 3550308, "
               "'2020-01-01', 'N', 'S');")
        .arg(id)
        .arg(q(oper), q(cnes), q(cnpj), q(nome))
        .arg(classif);
}

inline QString vinculo(int id, int plano = 1) {
    return QStringLiteral(
               "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, LG_NOVO) "
               "VALUES ('%1', %2, %3, 'S');")
        .arg(QLatin1String(kOperadora))
        .arg(plano)
        .arg(id);
}

}  // namespace ApoioRede
