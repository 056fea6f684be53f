#include "GeraBaseEstab.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>
#include <QStringList>
#include <cstdio>

#include <sqlite3.h>

#include "FixturaDispositivos.h"

#include "common/Identificadores.h"
#include "db/Banco.h"
#include "db/CriaBanco.h"
#include "db/DmConexao.h"
#include "platform/Plataforma.h"

namespace {
QString digitoCnes(const QString& seis) {
    int soma = 0;
    for (int i = 0; i < 6; ++i) soma += (7 - i) * (seis[i].unicode() - '0');
    const int r = soma % 11;
    return seis + QString::number(r <= 1 ? 0 : 11 - r);
}

QString digitosCnpj(const QString& doze) {
    static const int p1[] = {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    static const int p2[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
    QString n = doze;
    for (const int* pesos : {p1, p2}) {
        int soma = 0;
        for (int i = 0; i < n.size(); ++i) soma += pesos[i] * (n[i].unicode() - '0');
        const int r = soma % 11;
        n += QString::number(r < 2 ? 0 : 11 - r);
    }
    return n;
}

// A statement prepared once and stepped for every row.
class Insercao {
public:
    Insercao(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &m_st, nullptr); }
    ~Insercao() { sqlite3_finalize(m_st); }
    Insercao& operator<<(qlonglong v) {
        sqlite3_bind_int64(m_st, ++m_pos, v);
        return *this;
    }
    Insercao& operator<<(const QString& v) {
        if (v.isNull()) {
            sqlite3_bind_null(m_st, ++m_pos);
        } else {
            const QByteArray b = v.toUtf8();
            sqlite3_bind_text(m_st, ++m_pos, b.constData(), b.size(), SQLITE_TRANSIENT);
        }
        return *this;
    }
    void executa() {
        if (sqlite3_step(m_st) != SQLITE_DONE)
            throw ErroQev(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_st))));
        sqlite3_reset(m_st);
        sqlite3_clear_bindings(m_st);
        m_pos = 0;
    }

private:
    sqlite3_stmt* m_st = nullptr;
    int m_pos = 0;
};

QStringList ufsDoPais(Banco& b) {
    QStringList r;
    for (const auto& l : b.consulta(QStringLiteral("SELECT CD_UF FROM TB_UFS ORDER BY CD_UF")).linhas)
        r << l.first().toString();
    return r;
}

// A valid tax document: "80498", six digits of the sequence, the check digit.
QString documentoTaxa(int n) {
    const QString base = QStringLiteral("80498%1").arg(n % 1000000, 6, 10, QLatin1Char('0'));
    return base + DigitoVerificadorTaxa(base, 12);
}

// Plans 1 to `planos` of the operator with their related rows (plan 1 exists already).
void geraPlanos(Banco& b, int planos, const QVector<int>& hospitais,
                const QVector<qlonglong>& municipios, QRandomGenerator& aleatorio) {
    sqlite3* db = b.handle();
    const QString op = QString::fromLatin1(GeraBaseEstab::kOperadora);
    const QStringList ufs = ufsDoPais(b);
    Insercao plano(db,
                   "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, "
                   "CD_SEGMENTACAO, CD_TIPO_CONTRATO, CD_TIPO_FINANC, CD_PADRAO_ACOMODACAO, "
                   "CD_OPCAO_POS_ESTABELECIDO, LG_FM_COPARTICIPACAO, LG_FM_FRANQUIA, "
                   "LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO, "
                   "CD_REGIAO_COBERTURA, LG_CONSISTENTE, LG_REDE_VINCULADA, CD_STATUS_ENVIO, "
                   "LG_TOTAL_LIVRE_ESCOLHA) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'N', ?, ?, ?, "
                   "?, 'S', 'S', ?, 'N')");
    Insercao vinculo(db,
                     "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, "
                     "DT_VINCULO, LG_NOVO) VALUES (?, ?, ?, '2023-05-10 09:00:00', 'S')");
    Insercao uf(db, "INSERT INTO RL_PLANOS_UF (CD_OPER, SEQ_PLANO, CD_UF) VALUES (?, ?, ?)");
    Insercao munc(db,
                  "INSERT INTO RL_PLANOS_MUNICIPIO (CD_OPER, SEQ_PLANO, ID_MUNC) VALUES (?, ?, ?)");
    Insercao nota(db,
                  "INSERT INTO RL_PLANO_NOTA_TECNICA (CD_OPER, SEQ_PLANO, ID_PLANO_NOTA_TECNICA, "
                  "NR_PROTOCOLO_NOTA_TECNICA, NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO) "
                  "VALUES (?, ?, ?, ?, ?, '2015-06-20')");
    Insercao taxa(db,
                  "INSERT INTO RL_PLANO_TAXA_REGISTRO (CD_OPER, SEQ_PLANO, ID_PLANO_TAXA_REGISTRO, "
                  "NR_DOCUMENTO_TAXA) VALUES (?, ?, ?, ?)");
    Insercao cobertura(db,
                       "INSERT INTO RL_PLANOS_TIPO_COBERTURA (CD_OPER, SEQ_PLANO, "
                       "CD_TIPO_COBERTURA) VALUES (?, ?, ?)");
    Insercao servico(db,
                     "INSERT INTO RL_PLANOS_SERV_OPC (CD_OPER, SEQ_PLANO, CD_SERV_OPCIONAL) "
                     "VALUES (?, ?, ?)");
    const QStringList nomes{"EXECUTIVO", "ESSENCIAL", "PREMIUM", "FAMÍLIA", "EMPRESARIAL",
                            "BÁSICO",    "SÊNIOR",    "JOVEM",   "CLÁSSICO", "MASTER"};
    int idNota = 0, idTaxa = 0;
    for (int seq = 2; seq <= planos; ++seq) {
        const bool vazio = seq == planos;
        const int abrangencia = vazio ? 4 : 1 + int(aleatorio.bounded(5));
        const int segmentacao = vazio ? 2 : 1 + int(aleatorio.bounded(12));
        const int contrato = 1 + int(aleatorio.bounded(3));
        const int financ = segmentacao == 4 ? 1 + int(aleatorio.bounded(3)) : 1 + int(aleatorio.bounded(2));
        const bool semAcomodacao = segmentacao == 1 || segmentacao == 4 || segmentacao == 8;
        plano << op << seq
              << QStringLiteral("PLANO %1 %2").arg(nomes[seq % nomes.size()]).arg(seq)
              << abrangencia << segmentacao << contrato << financ
              << (semAcomodacao ? QString() : QStringLiteral("C"))
              << (financ == 2 ? QStringLiteral("R") : QString())
              << (financ == 3 ? QStringLiteral("N") : QStringLiteral("S"))
              << (contrato == 2 ? QStringLiteral("S") : QStringLiteral("N")) << QStringLiteral("N")
              << (contrato == 3 ? QStringLiteral("S") : QStringLiteral("N"))
              << (abrangencia == 1 ? 1 : abrangencia == 4 ? 5 : 3) << (seq % 5 == 0 && !vazio ? 1 : 0);
        plano.executa();
        if (vazio) continue;
        if (segmentacao != 4) {
            // 109 distinct hospitals (about 200,000 links in all)
            const int inicio = int(aleatorio.bounded(hospitais.size()));
            const int passo = 1 + int(aleatorio.bounded(97));
            QSet<int> usados;
            // (bounded: a step that shares a factor with a small list never reaches every hospital)
            for (int k = 0; usados.size() < 109 && k < 109 * hospitais.size(); ++k) {
                const int id = hospitais[(inicio + k * passo) % hospitais.size()];
                if (usados.contains(id)) continue;
                usados.insert(id);
                vinculo << op << seq << id;
                vinculo.executa();
            }
        }
        if (abrangencia == 2 || abrangencia == 3) {
            const int n = abrangencia == 3 ? 1 : 2 + int(aleatorio.bounded(5));
            const int inicio = int(aleatorio.bounded(ufs.size()));
            for (int k = 0; k < n; ++k) {
                uf << op << seq << ufs[(inicio + k) % ufs.size()];
                uf.executa();
            }
        } else if (abrangencia == 4 || abrangencia == 5) {
            const int n = abrangencia == 5 ? 1 : 2 + int(aleatorio.bounded(29));
            const int inicio = int(aleatorio.bounded(municipios.size()));
            for (int k = 0; k < n; ++k) {
                munc << op << seq << municipios[(inicio + k * 7) % municipios.size()];
                munc.executa();
            }
        }
        for (int k = 0, n = 1 + int(aleatorio.bounded(3)); k < n; ++k) {
            ++idNota;
            nota << op << seq << idNota << QStringLiteral("%1").arg(33902000000LL + idNota)
                 << op + QStringLiteral("999999999200615103000.nta");
            nota.executa();
        }
        for (int k = 0, n = 1 + int(aleatorio.bounded(2)); k < n; ++k) {
            ++idTaxa;
            taxa << op << seq << idTaxa << documentoTaxa(idTaxa);
            taxa.executa();
        }
        for (int codigo : {1, 2, 5, 13})
            if (aleatorio.bounded(2) == 1) {
                cobertura << op << seq << codigo;
                cobertura.executa();
            }
        for (int codigo : {6, 7, 10, 11})
            if (aleatorio.bounded(3) == 1) {
                servico << op << seq << codigo;
                servico.executa();
            }
    }
}
}  // namespace

namespace GeraBaseEstab {

void preparaAmbiente() {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) {
        if (!m.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(m));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    Relogio::FixaFusoHorario();  // as the program does
}

void gera(const QString& pasta, int quantidade, int planos) {
    QDir().mkpath(pasta);
    const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
    QFile::remove(caminho);
    const QString fontes = QStringLiteral(QEV_DIR_FONTES "/data/");
    CriaBanco::cria(caminho, {CriaBanco::leScript(fontes + QStringLiteral("schema.sql")),
                              CriaBanco::leScript(fontes + QStringLiteral("referencia.sql"))});
    Banco b;
    b.abre(caminho, TDmConexao::SenhaBanco());
    QVector<qlonglong> municipios;
    for (const auto& l : b.consulta(QStringLiteral("SELECT ID_MUNC FROM TB_MUNICIPIOS")).linhas)
        municipios << l.first().toLongLong();

    const QStringList tipos{"HOSPITAL",       "CLÍNICA",    "LABORATÓRIO", "POLICLÍNICA",
                            "CASA DE SAÚDE",  "Hospital",   "Clínica",     "Centro Médico",
                            "PRONTO-SOCORRO", "Maternidade"};
    const QStringList nomes{"SÃO JOSÉ",
                            "SANTA LÚCIA",
                            "Ávila",
                            "d'Ávila",
                            "NOSSA SENHORA DA CONCEIÇÃO",
                            "São Lucas",
                            "BOM JESUS",
                            "Santa Casa",
                            "IRMÃOS PENTEADO",
                            "Éden",
                            "Ômega",
                            "Coração de Maria",
                            "Beneficência",
                            "São Camilo",
                            "ALBERT",
                            "Moinhos"};
    QRandomGenerator aleatorio(20240615);
    QVector<int> hospitais;
    b.iniciaTransacao();
    b.executa(
        QStringLiteral(
            "INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, CD_GRUPO_CLASSIFICACAO) "
            "VALUES (?, '11222333000181', 'OPERADORA DE TESTE', 22)"),
        {QString::fromLatin1(kOperadora)});
    b.executa(
        QStringLiteral(
            "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, CD_SEGMENTACAO, "
            "CD_TIPO_CONTRATO, CD_TIPO_FINANC, CD_PADRAO_ACOMODACAO, LG_FM_COPARTICIPACAO, "
            "LG_FM_FRANQUIA, LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO, "
            "CD_REGIAO_COBERTURA, LG_CONSISTENTE, LG_REDE_VINCULADA, CD_STATUS_ENVIO, "
            "LG_TOTAL_LIVRE_ESCOLHA) VALUES (?, 1, 'PLANO NACIONAL', 1, 2, 2, 1, 'C', 'N', 'N', "
            "'S', 'N', 'N', 1, 'S', 'S', 0, 'N')"),
        {QString::fromLatin1(kOperadora)});
    for (int i = 1; i <= quantidade; ++i) {
        const int faixa = int(aleatorio.bounded(100));
        const int classif = faixa < 55 ? 1 : faixa < 80 ? 2 : 3;
        const bool contratualizado = aleatorio.bounded(2) == 1;
        const QString nome = tipos[int(aleatorio.bounded(tipos.size()))] + QLatin1Char(' ') +
                             nomes[int(aleatorio.bounded(nomes.size()))] + QLatin1Char(' ') +
                             QString::number(i);
        b.executa(
            QStringLiteral(
                "INSERT INTO TB_ESTAB_SAUDE (ID_ESTB_SAUD, CD_OPER, CD_CNPJ_ESTB_SAUD, CD_CNES, "
                "RAZAO_SOCIAL_ESTB_SAUD, CD_CLASSIF_ESTAB_SAUDE, CD_TIPO_ESTB_SAUD, "
                "CD_TIPO_CONTRATO_ESTB_SAUDE, "
                "DT_CONTRATO_OPER, DT_VINCULO_OPER, CD_DISP_SERVICO, LG_URGENCIA_EMERGENCIA, "
                "ID_MUNC, "
                "LG_HOSPITAL_INCLUIDO, LG_CLASSIFICADO_ZUB) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "'2015-04-01', ?, ?, ?, 'N', 'N')"),
            {i, QString::fromLatin1(kOperadora),
             digitosCnpj(QStringLiteral("%1").arg(10000000 + i, 8, 10, QLatin1Char('0')) +
                         QStringLiteral("0001")),
             digitoCnes(QStringLiteral("%1").arg(100000 + i % 900000, 6, 10, QLatin1Char('0'))),
             nome.left(60), classif, contratualizado ? 2000 : 1000,
             contratualizado ? QVariant(QStringLiteral("D")) : QVariant(),
             contratualizado ? QVariant(QStringLiteral("2015-03-02")) : QVariant(),
             classif == 1 ? QVariant(QStringLiteral("T")) : QVariant(),
             classif == 1 ? QStringLiteral("S") : QStringLiteral("N"),
             municipios[int(aleatorio.bounded(municipios.size()))]});
        if (classif == 1) hospitais << i;
        if (i % 100 == 0)
            b.executa(
                QStringLiteral(
                    "INSERT INTO RL_PLANOS_ESTAB_SAUDE (CD_OPER, SEQ_PLANO, ID_ESTB_SAUD, LG_NOVO) "
                    "VALUES (?, 1, ?, 'S')"),
                {QString::fromLatin1(kOperadora), i});
    }
    if (planos > 1 && !hospitais.isEmpty()) geraPlanos(b, planos, hospitais, municipios, aleatorio);
    // The operator's contract devices, linked to its plans (the last plan keeps none).
    if (planos > 1) FixturaDispositivos::geraParaPlanos(b, QString::fromLatin1(kOperadora), 20240615, {planos});
    b.confirmaTransacao();
}

}  // namespace GeraBaseEstab
