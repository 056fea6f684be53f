#pragma once
// Shared set-up of the plan tests: a test database with the current operator, the
// connection and the modules the plan subsystem needs, and rows of plans and of
// what hangs on them.
#include <QApplication>
#include <QDateTime>
#include <QTest>

#include "apoio/Apoio.h"
#include "apoio/BaseModulos.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/DmMunicipio.h"
#include "db/RowSet.h"
#include "network/DmHospital.h"
#include "operator/DmZemlo.h"
#include "plans/DmInfoPlano.h"
#include "plans/DmPlano.h"
#include "plans/FrmCadPlano.h"
#include "platform/Plataforma.h"

namespace ApoioPlanos {

// Check digits are right in both.
inline constexpr char kOperadora[] = "123455";
inline constexpr char kOutraOperadora[] = "345679";

// "Today" of the tests.
inline QDateTime agora() { return QDateTime(QDate(2024, 6, 15), QTime(10, 0)); }

class Base : public Apoio::BaseModulos {
protected:
    std::unique_ptr<TDMZemlo> zemlo;
    std::unique_ptr<TdmLookup> lookup;
    std::unique_ptr<TDmPlano> dmPlano;
    std::unique_ptr<TDmHospital> hospital;
    std::unique_ptr<TDmMunicipio> municipios;
    std::unique_ptr<TdmInfoPlano> dm;

    // Creates the database with the operator (classification `classif`) and `sql`,
    // then the modules in their start-up order.
    void inicia(const QString& sql = QString(), int classif = 22) {
        Relogio::define(agora);
        abreBanco(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, NM_RAZAO_SOCIAL, "
                                 "CD_GRUPO_CLASSIFICACAO, CD_REGIAO_ATUACAO) "
                                 "VALUES ('%1', 'OPERADORA TESTE', %2, 1);")
                      .arg(QLatin1String(kOperadora))
                      .arg(classif) +
                  sql);
        cria(zemlo);
        cria(lookup);
        cria(dmPlano);
        cria(hospital);
        cria(municipios);
        cria(dm);
    }
    QStringList coluna(const QString& sql) { return Apoio::coluna(banco(), sql); }
};

// The base with the plan screen, shown and active.
class BaseTela : public Base {
public:
    std::unique_ptr<TfrmCadPlano> tela;
    void abre() {
        tela = std::make_unique<TfrmCadPlano>();
        tela->show();
        QApplication::setActiveWindow(tela.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(tela.get()));
    }
    void TearDown() override {
        tela.reset();
        Base::TearDown();
    }
};

// A plan row: contract 2, coverage `abrang`, segmentation `seg`, pre-established,
// collective accommodation, active link; "" of `oper` = the test operator.
inline QString plano(int seq, const char* nome, int abrang = 1, int seg = 2, int status = 0,
                     const char* oper = kOperadora) {
    return QStringLiteral(
               "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, "
               "CD_SEGMENTACAO, CD_TIPO_CONTRATO, CD_TIPO_FINANC, CD_PADRAO_ACOMODACAO, "
               "LG_FM_COPARTICIPACAO, LG_FM_FRANQUIA, LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, "
               "LG_VB_SEM_VINCULO, CD_STATUS_ENVIO, LG_TOTAL_LIVRE_ESCOLHA, LG_CONSISTENTE, "
               "LG_REDE_VINCULADA) VALUES ('%1', %2, '%3', %4, %5, 2, 1, 'C', 'N', 'N', 'S', 'N', "
               "'N', %6, 'N', 'S', 'S');")
        .arg(QLatin1String(oper))
        .arg(seq)
        .arg(QString::fromUtf8(nome))
        .arg(abrang)
        .arg(seg)
        .arg(status);
}

// A hospital of the test operator with urgency care, in São Paulo.
inline QString hospitalSp(int id, const char* nome = "HOSPITAL") {
    return QStringLiteral(
               "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNES, CD_CNPJ_ESTB_SAUD, "
               "RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, ID_MUNC, "
               "LG_HOSPITAL_INCLUIDO, LG_URGENCIA_EMERGENCIA) VALUES (%1, '%2', '%3', '%4', "
               "'%5 %1', 1, 1000, 3550308, 'N', 'S');")
        .arg(id)
        .arg(QLatin1String(kOperadora))
        .arg(id, 7, 10, QLatin1Char('0'))
        .arg(id, 14, 10, QLatin1Char('0'))
        .arg(QString::fromUtf8(nome));
}

inline QString vinculo(int seq, int idEstab) {
    return QStringLiteral(
               "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, DT_VINCULO, "
               "LG_NOVO) VALUES ('%1', %2, %3, '2024-01-02 08:30:00', 'S');")
        .arg(QLatin1String(kOperadora))
        .arg(seq)
        .arg(idEstab);
}

inline QString taxa(int seq, int id, const char* numero) {
    return QStringLiteral(
               "INSERT INTO RL_PLANO_TAXA_REGISTRO (CD_OPER, SEQ_PLANO, ID_PLANO_TAXA_REGISTRO, "
               "NR_DOCUMENTO_TAXA) VALUES ('%1', %2, %3, '%4');")
        .arg(QLatin1String(kOperadora))
        .arg(seq)
        .arg(id)
        .arg(QString::fromUtf8(numero));
}

inline QString nota(int seq, int id, const char* protocolo, const char* arquivo = nullptr) {
    return QStringLiteral(
               "INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, "
               "NR_PROTOCOLO_NOTA_TECNICA, NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO) VALUES ('%1', %2, "
               "%3, '%4', %5, '2020-03-04');")
        .arg(QLatin1String(kOperadora))
        .arg(seq)
        .arg(id)
        .arg(QString::fromUtf8(protocolo))
        .arg(arquivo ? QStringLiteral("'%1'").arg(QString::fromUtf8(arquivo)) : QStringLiteral("NULL"));
}

// A row of a relation table with (CD_OPER, SEQ_PLANO, column = valor).
inline QString relacao(const char* tabela, const char* coluna, int seq, const QString& valor,
                       const char* oper = kOperadora) {
    return QStringLiteral("INSERT INTO %1 (CD_OPER, SEQ_PLANO, %2) VALUES ('%3', %4, %5);")
        .arg(QLatin1String(tabela), QLatin1String(coluna), QLatin1String(oper))
        .arg(seq)
        .arg(valor);
}

// Valid tax documents (check digit right, regulator's prefix).
inline constexpr char kTaxa1[] = "804981234562";
inline constexpr char kTaxa2[] = "29409990000000015";

}  // namespace ApoioPlanos
