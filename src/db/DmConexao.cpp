#include "db/DmConexao.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <QUrl>

#include "ConfiguracaoBuild.h"
#include "db/CifraBanco.h"
#include "db/PacoteDados.h"
#include "db/ProtocoloVUQ.h"
#include "db/Transacao.h"
#include "db/Valores.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"

namespace {
TDmConexao* g_instancia = nullptr;

// Names of tables and columns reach statements as text (they cannot be bound):
// only plain identifiers are accepted.
void confereIdentificador(const QString& nome) {
    if (!IdentificadorSimples(nome))
        throw ErroQev(QStringLiteral("Nome inválido: '%1'").arg(nome));
}

// SQLite spelling of the engine type names; a sized text keeps its limit as a CHECK.
QString definicaoColuna(const QString& coluna, const QString& tipo, int tamanho) {
    const QString t = tipo.toUpper();
    if (t == QLatin1String("TEXT")) {
        QString d = QStringLiteral("TEXT");
        if (tamanho > 0)
            d += QStringLiteral("(%1) CHECK (%2 IS NULL OR length(%2) <= %1)").arg(tamanho).arg(coluna);
        return d;
    }
    if (t == QLatin1String("MEMO")) return QStringLiteral("TEXT");
    if (t == QLatin1String("NUMBER")) return QStringLiteral("NUMERIC");
    if (t == QLatin1String("FLOAT")) return QStringLiteral("REAL");
    QString d = t;
    if (tamanho > 0 && t != QLatin1String("INTEGER")) d += QStringLiteral("(%1)").arg(tamanho);
    return d;
}

QString caminhoTrava(const QString& caminhoBanco) { return caminhoBanco + QStringLiteral(".lock"); }

void sincronizaArquivo(const QString& caminho) {
    const int fd = ::open(QFile::encodeName(caminho).constData(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The salt of an encrypted file (its first 16 bytes).
QByteArray primeirosBytes(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.read(16) : QByteArray();
}

// Opens `b` with the key derived for the file (once per salt in a run: a start opens the
// file, writes the compacted copy, checks it and opens the result, and the copy keeps the
// salt), or with the password when there is none or it is refused (the file was replaced
// meanwhile). Answers the key used.
QByteArray abreComChave(Banco& b, const QString& caminho) {
    const QByteArray chave = CifraBanco::chaveDerivada(caminho, TDmConexao::SenhaBanco());
    if (!chave.isEmpty()) {
        try {
            b.abre(caminho, chave);
            return chave;
        } catch (const ErroBanco&) {
        }
    }
    b.abre(caminho, TDmConexao::SenhaBanco());
    return TDmConexao::SenhaBanco();
}

}  // namespace

QMap<QString, qlonglong> TDmConexao::ContagemTabelas(Banco& b) {
    QMap<QString, qlonglong> r;
    const Resultado t = b.consulta(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
    for (const auto& l : t.linhas) {
        const QString nome = l.first().toString();
        confereIdentificador(nome);
        r.insert(nome, b.valor(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(nome)).toLongLong());
    }
    return r;
}

QVariant Consulta::campo(const QString& coluna) const {
    if (Eof()) throw ErroQev(QStringLiteral("Não há registro atual."));
    return resultado.valor(linhaAtual, coluna);
}

TDmConexao::TDmConexao(QObject* parent)
    : QObject(parent),
      m_banco(std::make_unique<Banco>()),
      m_bancoAnterior(std::make_unique<Banco>()),
      m_origemMunicipios(QStringLiteral(":/dados/municipios.xml")) {
    g_instancia = this;
    m_pastaSistema = PastaPrograma::caminho();
}

TDmConexao::~TDmConexao() {
    m_bancoAnterior->fecha();
    m_banco->fecha();
    if (m_fdTrava >= 0) ::close(m_fdTrava);
    if (g_instancia == this) g_instancia = nullptr;
}

TDmConexao* TDmConexao::instancia() { return g_instancia; }

QByteArray TDmConexao::SenhaBanco() { return QByteArrayLiteral("Zub#Qev-2003!"); }

void TDmConexao::DefineBarraProgresso(std::function<void(int)> barra) { m_barra = std::move(barra); }

void TDmConexao::avanca(int valor) {
    if (m_barra) m_barra(valor);
}

// ---------------------------------------------------------------------------
// Start-up
// ---------------------------------------------------------------------------

void TDmConexao::AbreBanco() {
    // 1. where the database is
    m_pastaSistema = PastaPrograma::caminho();
    const QString caminho = CaminhoBanco();
    // 2. compaction (its result does not matter)
    CompactaBanco(caminho);
    // 3.
    avanca(80);
    // 4. open, holding the shared lock that keeps other copies from replacing the file
    travaCompartilhada();
    m_banco->fecha();
    abreComChave(*m_banco, caminho);

    // Steps 5 to 14 are written as one unit: one commit instead of one per statement,
    // and a start that stops half-way leaves the file as it was.
    TransacaoEscopo inicio(*m_banco);

    // 5. classification 29 became 28
    ExecutaComando(QStringLiteral(
        "UPDATE OPERADORAS SET CD_GRUPO_CLASSIFICACAO = 28 WHERE CD_GRUPO_CLASSIFICACAO = 29"));
    ExecutaComando(QStringLiteral("DELETE FROM TA_CLASSIF_OPERADORA WHERE CD_GRUPO_CLASSIFICACAO = 29"));

    // 6. device-theme columns
    const QString temas = QStringLiteral("TA_TIPO_CLAUSULA");
    if (!ExisteCampo(QStringLiteral("CD_CLASS_CLAUSULA"), temas)) {
        CriaCampo(QStringLiteral("CD_CLASS_CLAUSULA"), temas, 0, QStringLiteral("INTEIRO"));
        ExecutaComando(QStringLiteral(
            "UPDATE TA_TIPO_CLAUSULA SET CD_CLASS_CLAUSULA = 1 WHERE CD_TIPO_CLAUSULA IN "
            "(3,5,6,7,8,9,10,11,12,13,15,16,17,18,19,20,23,24,25,26,28,29,30)"));
        ExecutaComando(QStringLiteral(
            "UPDATE TA_TIPO_CLAUSULA SET CD_CLASS_CLAUSULA = 2 WHERE CD_TIPO_CLAUSULA IN "
            "(1,2,4,14,21,22,27,31,32)"));
    }
    if (!ExisteCampo(QStringLiteral("NR_ORDEM_EXIBICAO"), temas)) {
        CriaCampo(QStringLiteral("NR_ORDEM_EXIBICAO"), temas, 0, QStringLiteral("INTEIRO"));
        ExecutaComando(QStringLiteral(
            "UPDATE TA_TIPO_CLAUSULA SET NR_ORDEM_EXIBICAO = CD_TIPO_CLAUSULA WHERE CD_TIPO_CLAUSULA < 33"));
    }
    if (!ExisteCampo(QStringLiteral("DT_PUBLICACAO_FIM"), temas)) {
        CriaCampo(QStringLiteral("DT_PUBLICACAO_FIM"), temas, 0, QStringLiteral("DATA"));
        ExecutaComando(QStringLiteral("UPDATE TA_TIPO_CLAUSULA SET DT_PUBLICACAO_FIM = ? WHERE "
                                      "CD_TIPO_CLAUSULA IN (1,2,3,4,5,6,7,8,9,13,14,17,18,21,22,27,30)"),
                       {QDate(2009, 10, 15)});
    }

    // 7. built-in municipality list
    CarregaMunicipios();

    // 8. plan columns
    const QString planos = QStringLiteral("TB_PLANOS");
    GaranteCampo(planos, QStringLiteral("LG_TOTAL_LIVRE_ESCOLHA"), 1, QStringLiteral("TEXT"));
    GaranteCampo(planos, QStringLiteral("NM_ARQ_RETORNO"), 100, QStringLiteral("TEXT"));
    GaranteCampo(planos, QStringLiteral("LG_TERMO_ASSUNCAO"), 0, QStringLiteral("INTEGER"));

    // 9. stored protocols
    normalizaProtocolosGravados();

    // 10. return files the transfer program left for us
    ProcessaRetornos();

    // 11. reference fix-ups
    ExecutaComando(QStringLiteral("UPDATE RL_PLANOS_SERV_OPC SET DE_SERV_OPCIONAL = NULL"));
    ExecutaComando(QStringLiteral(
        "UPDATE TA_SERVICOS_OPCIONAIS SET DE_SERV_OPCIONAL = 'Outros' WHERE CD_SERV_OPCIONAL = 13"));
    ExecutaComando(
        QStringLiteral("UPDATE TA_TIPO_CLAUSULA SET LG_SEGMENTACAO = 'S' WHERE CD_TIPO_CLAUSULA = 18"));
    ExecutaComando(QStringLiteral("UPDATE TA_TIPO_CLAUSULA SET LG_TIPO_CONTRATO = 'S' WHERE "
                                  "CD_TIPO_CLAUSULA IN (10,13,14,22,23,28,29)"));

    // 12. published devices
    if (!ExisteCampo(QStringLiteral("CD_PUBLICADO"), QStringLiteral("TB_CLAUSULA_OPERADORA"))) {
        CriaCampo(QStringLiteral("CD_PUBLICADO"), QStringLiteral("TB_CLAUSULA_OPERADORA"), 0,
                  QStringLiteral("INTEIRO"));
        ExecutaComando(QStringLiteral(
            "UPDATE TB_CLAUSULA_OPERADORA SET CD_PUBLICADO = 0 WHERE CD_PUBLICADO IS NULL"));
    }

    // 13.
    ExecutaComando(
        QStringLiteral("UPDATE TA_TIPO_CLAUSULA SET LG_FAIXA_ETARIA = 'S' WHERE CD_TIPO_CLAUSULA = 24"));

    // 14. links to establishments that no longer exist (and links to none). The
    // establishments' numbers are read once, in one pass, into a list the links are
    // looked up in ("+" keeps the engine from searching the table once per link instead,
    // which on a large file read and deciphered the same pages again and again).
    ExecutaComando(QStringLiteral(
        "DELETE FROM RL_PLANOS_ESTAB_SAUDE WHERE ID_ESTB_SAUD IS NULL OR ID_ESTB_SAUD NOT IN "
        "(SELECT +ID_ESTB_SAUD FROM TB_ESTAB_SAUDE)"));
    inicio.confirma();
}

// ---------------------------------------------------------------------------
// Statements and transactions
// ---------------------------------------------------------------------------

Consulta& TDmConexao::AbreConsulta(const QString& sql, const ParamsPosicionais& params) {
    m_qryGeneric.Close();
    m_qryGeneric.resultado = m_banco->consulta(sql, params);
    return m_qryGeneric;
}

Consulta& TDmConexao::AbreConsulta(const QString& sql, const ParamsNomeados& params) {
    m_qryGeneric.Close();
    m_qryGeneric.resultado = m_banco->consulta(sql, params);
    return m_qryGeneric;
}

void TDmConexao::ExecutaComando(const QString& sql, const ParamsPosicionais& params) {
    m_qryGeneric.Close();
    m_banco->executa(sql, params);
}

void TDmConexao::ExecutaComando(const QString& sql, const ParamsNomeados& params) {
    m_qryGeneric.Close();
    m_banco->executa(sql, params);
}

void TDmConexao::IniciaTransacao() {
    if (!m_banco->emTransacao()) m_banco->iniciaTransacao();
}

void TDmConexao::ConfirmaTransacao() {
    if (m_banco->emTransacao()) m_banco->confirmaTransacao();
}

void TDmConexao::DesfazTransacao() {
    if (m_banco->emTransacao()) m_banco->desfazTransacao();
}

QByteArray TDmConexao::SenhaBancoAnterior() { return QByteArray(Config::SenhaOlvar); }

void TDmConexao::AbreBancoAnterior(const QString& caminho) {
    m_qryAnterior.Close();
    m_bancoAnterior->abreSomenteLeitura(caminho, SenhaBancoAnterior());
}

void TDmConexao::FechaBancoAnterior() {
    m_qryAnterior.Close();
    m_bancoAnterior->fecha();
}

Consulta& TDmConexao::ConsultaBancoAnterior(const QString& sql, const ParamsPosicionais& params) {
    m_qryAnterior.Close();
    m_qryAnterior.resultado = m_bancoAnterior->consulta(sql, params);
    return m_qryAnterior;
}

// ---------------------------------------------------------------------------
// Columns
// ---------------------------------------------------------------------------

bool TDmConexao::ExisteCampo(const QString& coluna, const QString& tabela) {
    try {
        return m_banco->colunasDaTabela(tabela).contains(coluna, Qt::CaseSensitive);
    } catch (const ErroQev&) {
        return false;
    }
}

void TDmConexao::CriaCampo(const QString& coluna, const QString& tabela, int tamanho,
                           const QString& tipo) {
    static const QHash<QString, QString> tipos = {
        {QStringLiteral("TEXTO"), QStringLiteral("TEXT")},
        {QStringLiteral("REAL"), QStringLiteral("FLOAT")},
        {QStringLiteral("DATA"), QStringLiteral("DATE")},
        {QStringLiteral("DUPLO"), QStringLiteral("NUMBER")},
        {QStringLiteral("INTEIRO"), QStringLiteral("INTEGER")},
        {QStringLiteral("MEMORANDO"), QStringLiteral("MEMO")},
    };
    const auto it = tipos.constFind(tipo.toUpper());
    if (it == tipos.constEnd()) return;
    confereIdentificador(tabela);
    confereIdentificador(coluna);
    ExecutaComando(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                       .arg(tabela, coluna, definicaoColuna(coluna, it.value(), tamanho)));
}

bool TDmConexao::GaranteCampo(const QString& tabela, const QString& coluna, int tamanho,
                              const QString& tipoMotor) {
    if (m_banco->colunasDaTabela(tabela).contains(coluna, Qt::CaseSensitive)) return true;
    confereIdentificador(tabela);
    confereIdentificador(coluna);
    const bool inteiro = tipoMotor.compare(QLatin1String("INTEGER"), Qt::CaseInsensitive) == 0;
    ExecutaComando(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                       .arg(tabela, coluna, definicaoColuna(coluna, tipoMotor, inteiro ? 0 : tamanho)));
    return false;
}

// ---------------------------------------------------------------------------
// Protocols
// ---------------------------------------------------------------------------

QString TDmConexao::NormalizaProtocolo(const QString& protocolo) {
    if (protocolo.trimmed().isEmpty()) return protocolo;
    QString s = protocolo;
    if (s.startsWith(QLatin1Char('T'))) s.remove(0, 1);
    const int hifen = s.indexOf(QLatin1Char('-'));
    if (hifen >= 0) s.truncate(hifen);
    return s;
}

void TDmConexao::normalizaProtocolosGravados() {
    struct Alvo {
        const char* tabela;
        const char* coluna;
    };
    static const Alvo alvos[] = {{"TB_PLANOS", "NR_PROTOCOLO_REGISTRO"},
                                 {"TB_PLANOS_PROTOCOLOS", "NR_PROTOCOLO_REENVIO"}};
    // Fails as a whole and quietly: inside the start's transaction only this step is undone.
    try {
        TransacaoEscopo passo(*m_banco, TransacaoEscopo::PontoSalvo);
        for (const Alvo& a : alvos) {
            const QString tabela = QString::fromLatin1(a.tabela);
            const QString coluna = QString::fromLatin1(a.coluna);
            const Resultado r = m_banco->consulta(
                QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %1 IS NOT NULL").arg(coluna, tabela));
            const QString atualiza = QStringLiteral("UPDATE %2 SET %1 = ? WHERE rowid = ?").arg(coluna, tabela);
            for (const auto& l : r.linhas) {
                const QString antes = l.at(1).toString();
                const QString depois = NormalizaProtocolo(antes);
                if (depois != antes) m_banco->executa(atualiza, {depois, l.at(0)});
            }
        }
        passo.confirma();
    } catch (const ErroQev&) {
        // left as it was; the start goes on
    }
}

void TDmConexao::ProcessaRetornos() {
    const Resultado pendentes = m_banco->consulta(QStringLiteral(
        "SELECT rowid, CD_OPER, SEQ_PLANO, CD_STATUS_ENVIO, NR_PROTOCOLO_REGISTRO, NM_ARQ_RETORNO, "
        "NM_PLANO FROM TB_PLANOS WHERE NM_ARQ_RETORNO IS NOT NULL"));
    if (pendentes.vazio()) return;

    // The transfer program's folder is looked up only now that a protocol is pending.
    // A protocol that cannot be read today (the program is missing, the file is
    // unreadable) keeps its pending name and its file for a later start: the user is
    // warned and the program opens.
    QString pasta, semPasta;
    try {
        pasta = PastaProtocolosVUQ();
    } catch (const ErroQev& e) {
        semPasta = e.mensagem().trimmed();
    }

    // Everything read is written in one transaction; the protocol files are deleted
    // only once it is committed, so a refused write loses no protocol.
    QStringList lidos, ilegiveis;
    TransacaoEscopo transacao(*m_banco);
    for (const auto& l : pendentes.linhas) {
        const QVariant rowid = l.at(0);
        const QString cdOper = l.at(1).toString();
        const qlonglong seqPlano = l.at(2).toLongLong();
        const int status = l.at(3).toInt();  // null reads as 0
        const QVariant protocoloGravado = l.at(4);
        const QString nome = l.at(5).toString();
        const auto ilegivel = [&](const QString& motivo) {
            ilegiveis << QStringLiteral("Plano %1 - %2, arquivo \"%3\": %4")
                             .arg(QString::number(seqPlano), l.at(6).toString(), nome, motivo);
        };
        if (!semPasta.isEmpty()) {
            ilegivel(semPasta);
            continue;
        }

        const QString arquivo = pasta + nome;
        const bool existe = QFileInfo::exists(arquivo);
        ProtocoloVUQ lido;
        if (existe) {
            try {
                lido = ProtocoloVUQ::Le(arquivo);
            } catch (const ErroQev& e) {
                ilegivel(e.mensagem());
                continue;
            }
        }
        // Each plan's record stands alone: one the database refuses is kept pending and
        // named in the warning like an unreadable one, and the others are recorded.
        try {
            TransacaoEscopo plano(*m_banco, TransacaoEscopo::PontoSalvo);
            if (existe) {
                const QString protocolo = lido.ProtocoloNormalizado();
                const QDateTime data = lido.DataTransmissao();
                if (status == 0 || (status == 1 && protocoloGravado.isNull())) {
                    m_banco->executa(QStringLiteral(
                                         "UPDATE TB_PLANOS SET CD_STATUS_ENVIO = 1, NR_PROTOCOLO_REGISTRO = ?, "
                                         "DT_PROTOCOLO_REGISTRO = ? WHERE rowid = ?"),
                                     {protocolo, data, rowid});
                } else if (status == 1 && protocolo != protocoloGravado.toString()) {
                    const QVariant registrado = m_banco->valor(
                        QStringLiteral("SELECT 1 FROM TB_PLANOS_PROTOCOLOS WHERE SEQ_PLANO = ? AND "
                                       "NR_PROTOCOLO_REENVIO = ?"),
                        {seqPlano, protocolo});
                    if (!registrado.isValid())
                        m_banco->executa(QStringLiteral("INSERT INTO TB_PLANOS_PROTOCOLOS VALUES(?, ?, ?, ?)"),
                                         {cdOper, seqPlano, protocolo, data.date()});
                }
            }
            m_banco->executa(QStringLiteral("UPDATE TB_PLANOS SET NM_ARQ_RETORNO = NULL WHERE rowid = ?"),
                             {rowid});
            plano.confirma();
        } catch (const ErroBanco& e) {
            ilegivel(e.mensagem());
            continue;
        }
        if (existe) lidos << arquivo;
    }
    // The files go, and the warning is shown, once what was read is stored (also when
    // this runs inside a caller's transaction: never while holding the write lock).
    const QString aviso =
        ilegiveis.isEmpty()
            ? QString()
            : QStringLiteral("Não foi possível ler o protocolo de envio destes planos; o arquivo "
                             "foi mantido e será lido novamente na próxima abertura do sistema.\n\n") +
                  ilegiveis.join(QLatin1Char('\n'));
    m_banco->aoTerminarTransacao([lidos, aviso](bool confirmada) {
        if (!confirmada) return;
        for (const QString& a : lidos) QFile::remove(a);
        if (!aviso.isEmpty()) Mensagens::mostra({aviso, Mensagens::Cuidado, Mensagens::BtOk, QString(), false});
    });
    transacao.confirma();
}

// ---------------------------------------------------------------------------
// Municipalities
// ---------------------------------------------------------------------------

void TDmConexao::CarregaMunicipios() {
    // 1. the codes already present
    QSet<qlonglong> existentes;
    for (const auto& l : m_banco->consulta(QStringLiteral("SELECT ID_MUNC FROM TB_MUNICIPIOS")).linhas)
        existentes.insert(l.first().toLongLong());

    // 2. the built-in list, written beside the program
    const QString arquivo = m_pastaSistema + QStringLiteral("Municipio.xml");
    QByteArray conteudo;
    {
        QFile origem(m_origemMunicipios);
        if (origem.open(QIODevice::ReadOnly)) conteudo = origem.readAll();
    }
    {
        QFile destino(arquivo);
        if (!destino.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            destino.write(conteudo) != conteudo.size() || !destino.flush())
            throw ErroQev(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2")
                              .arg(arquivo, destino.errorString()));
    }
    struct Remove {
        QString a;
        ~Remove() { QFile::remove(a); }
    } remove{arquivo};

    // 3. read it back; an unreadable list adds nothing
    PacoteDados lista;
    try {
        lista = PacoteDados::leArquivo(arquivo);
    } catch (const ErroQev&) {
        return;
    }
    const int iId = lista.indice(QStringLiteral("ID_MUNC"));
    const int iUf = lista.indice(QStringLiteral("CD_UF"));
    const int iNome = lista.indice(QStringLiteral("NM_MUNC"));
    if (iId < 0 || iUf < 0 || iNome < 0) return;

    // 4-5. append the missing ones; a row the database refuses is skipped
    const QString insere = QStringLiteral("INSERT INTO TB_MUNICIPIOS (ID_MUNC, CD_UF, NM_MUNC) VALUES (?, ?, ?)");
    TransacaoEscopo transacao(*m_banco);
    {
        for (const QStringList& l : std::as_const(lista.linhas)) {
            bool ok = false;
            const qlonglong id = l.value(iId).toLongLong(&ok);
            if (!ok || existentes.contains(id)) continue;
            try {
                m_banco->executa(insere, {id, l.value(iUf), l.value(iNome)});
                existentes.insert(id);
            } catch (const ErroBanco& e) {
                const int primario = e.codigo() & 0xff;
                if (primario != 19 /*SQLITE_CONSTRAINT*/ && primario != 20 /*SQLITE_MISMATCH*/) throw;
            }
        }
    }
    transacao.confirma();
}

// ---------------------------------------------------------------------------
// Compaction and the lock that guards it
// ---------------------------------------------------------------------------

bool TDmConexao::travaCompartilhada() {
    if (m_fdTrava < 0) {
        m_fdTrava = ::open(QFile::encodeName(caminhoTrava(CaminhoBanco())).constData(),
                           O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fdTrava < 0) return false;
    }
    // Another copy may be compacting right now: wait for it (bounded).
    for (int i = 0; i < 1200; ++i) {
        if (::flock(m_fdTrava, LOCK_SH | LOCK_NB) == 0) return true;
        QThread::msleep(50);
    }
    return false;
}

namespace {
// Whether a file is a whole database of ours: it opens with the key and the engine's
// integrity check reads every page of it.
bool bancoIntegro(const QString& caminho) {
    try {
        Banco b;
        b.abreSomenteLeitura(caminho, TDmConexao::SenhaBanco());
        return b.valor(QStringLiteral("PRAGMA integrity_check")).toString() == QLatin1String("ok");
    } catch (const ErroQev&) {
        return false;
    }
}
}  // namespace

bool TDmConexao::TravaExclusiva() {
    if (m_fdTrava < 0) {
        m_fdTrava = ::open(QFile::encodeName(caminhoTrava(CaminhoBanco())).constData(),
                           O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (m_fdTrava < 0) return false;
    }
    if (::flock(m_fdTrava, LOCK_EX | LOCK_NB) == 0) return true;
    // Changing a lock's kind drops the old one first: take the shared one again.
    travaCompartilhada();
    return false;
}

void TDmConexao::LiberaExclusiva() {
    if (m_fdTrava >= 0) ::flock(m_fdTrava, LOCK_SH);
}

bool TDmConexao::CompactaBanco(const QString& caminhoBanco) {
    const QString copia = caminhoBanco + QLatin1Char('x');
    if (!QFileInfo::exists(caminhoBanco) && !QFileInfo::exists(copia)) return false;

    // Only when no other copy of the program has the file open: every running copy
    // holds a shared lock on the sidecar file.
    const int fd = ::open(QFile::encodeName(caminhoTrava(caminhoBanco)).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    const auto mantemTrava = [&] {
        if (m_fdTrava < 0 &&
            QFileInfo(caminhoBanco).absoluteFilePath() == QFileInfo(CaminhoBanco()).absoluteFilePath()) {
            // keep the lock of our own database, now shared, for the whole run
            ::flock(fd, LOCK_SH);
            m_fdTrava = fd;
        } else {
            ::close(fd);
        }
    };

    // Under the exclusive lock no other copy is running, so a copy already there can
    // only be an earlier compaction of ours that did not finish (killed, power lost).
    if (QFileInfo::exists(copia)) {
        if (QFileInfo::exists(caminhoBanco)) {
            QFile::remove(copia);
        } else {
            // The database itself is missing: a whole copy is the database.
            const bool posta = bancoIntegro(copia) &&
                               ::rename(QFile::encodeName(copia).constData(),
                                        QFile::encodeName(caminhoBanco).constData()) == 0;
            if (posta) sincronizaArquivo(QFileInfo(caminhoBanco).absolutePath());
            mantemTrava();
            return posta;
        }
    }

    // The compacted file keeps the original's permissions.
    struct stat original {};
    const bool temModo = ::stat(QFile::encodeName(caminhoBanco).constData(), &original) == 0;

    bool copiaCriada = false;
    bool sucesso = false;
    try {
        QMap<QString, qlonglong> origem;
        QByteArray chave;
        {
            Banco b;
            chave = abreComChave(b, caminhoBanco);
            origem = TDmConexao::ContagemTabelas(b);
            // Written with the derived key, the copy keeps the file's salt: the password
            // opens it as it opens the file (checked below).
            const QString uri = QStringLiteral("file:") +
                                QString::fromUtf8(QUrl::toPercentEncoding(copia, "/")) +
                                QStringLiteral("?key=") +
                                QString::fromUtf8(QUrl::toPercentEncoding(QString::fromLatin1(chave)));
            copiaCriada = true;
            b.executa(QStringLiteral("VACUUM INTO ?"), {uri});
        }
        // The copy must open with the password and hold every row (reading it back checks
        // the authentication tag of every page it touches).
        {
            if (chave != SenhaBanco() && primeirosBytes(copia) != primeirosBytes(caminhoBanco))
                throw ErroQev(QStringLiteral("cópia compactada com outro sal"));
            Banco c;
            c.abre(copia, chave);
            if (TDmConexao::ContagemTabelas(c) != origem)
                throw ErroQev(QStringLiteral("cópia compactada não confere"));
        }
        if (temModo) ::chmod(QFile::encodeName(copia).constData(), original.st_mode & 07777);
        sincronizaArquivo(copia);
        if (::rename(QFile::encodeName(copia).constData(), QFile::encodeName(caminhoBanco).constData()) == 0) {
            copiaCriada = false;
            sincronizaArquivo(QFileInfo(caminhoBanco).absolutePath());
            sucesso = true;
        }
    } catch (const ErroQev&) {
        sucesso = false;
    }
    if (copiaCriada) QFile::remove(copia);
    mantemTrava();
    return sucesso;
}
