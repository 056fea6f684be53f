#include "network/BaseOlvar.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include "common/Identificadores.h"
#include "db/Banco.h"
#include "db/DmConexao.h"

namespace {
const char* const kColunas[] = {
    "ID_ESTB_SAUD",           "CD_CNES",
    "CD_CNPJ_ESTB_SAUD",      "RAZAO_SOCIAL_ESTB_SAUD",
    "CD_TIPO_ESTB_SAUD",      "ID_MUNC",
    "LG_HOSPITAL_INCLUIDO",   "CD_TIPO_CONTRATO_ESTB_SAUDE",
    "DT_VINCULO_OPER",        "DT_CONTRATO_OPER",
    "CD_CLASSIF_ESTAB_SAUDE", "LG_CLASSIFICADO_ZUB",
    "CD_OPER_INTERMEDIADORA", "CD_DISP_SERVICO",
    "LG_URGENCIA_EMERGENCIA"};

const char kEsquema[] =
    "CREATE TABLE OPERADORAS (CD_OPER TEXT);"
    "CREATE TABLE TB_ESTAB_SAUDE (ID_ESTB_SAUD INTEGER PRIMARY KEY, CD_CNES TEXT, "
    "CD_CNPJ_ESTB_SAUD TEXT, RAZAO_SOCIAL_ESTB_SAUD TEXT, CD_TIPO_ESTB_SAUD INTEGER, "
    "ID_MUNC INTEGER, LG_HOSPITAL_INCLUIDO TEXT, CD_TIPO_CONTRATO_ESTB_SAUDE TEXT, "
    "DT_VINCULO_OPER DATE, DT_CONTRATO_OPER DATE, CD_CLASSIF_ESTAB_SAUDE INTEGER, "
    "LG_CLASSIFICADO_ZUB TEXT, CD_OPER_INTERMEDIADORA TEXT, CD_DISP_SERVICO TEXT, "
    "LG_URGENCIA_EMERGENCIA TEXT);";

// A date typed the Brazilian way or already ISO becomes the stored ISO text.
QVariant normalizaData(const QVariant& v) {
    if (v.typeId() != QMetaType::QString) return v;
    const QString t = v.toString().trimmed();
    const QDate br = QDate::fromString(t, QStringLiteral("dd/MM/yyyy"));
    if (br.isValid()) return br;
    return v;
}

// Splits CSV text into records of fields (quotes as in RFC 4180).
class LeitorCsv {
public:
    LeitorCsv(const QString& texto, QChar separador) : m_t(texto), m_sep(separador) {}
    bool fim() const { return m_i >= m_t.size(); }
    QStringList registro(QList<bool>* vazios) {
        QStringList campos;
        vazios->clear();
        QString atual;
        bool citado = false;
        while (m_i < m_t.size()) {
            const QChar c = m_t.at(m_i++);
            if (citado) {
                if (c == u'"') {
                    if (m_i < m_t.size() && m_t.at(m_i) == u'"') {
                        atual += u'"';
                        ++m_i;
                    } else {
                        citado = false;
                    }
                } else {
                    atual += c;
                }
            } else if (c == u'"') {
                citado = true;
                m_teveAspas = true;
            } else if (c == m_sep) {
                fecha(campos, vazios, atual);
            } else if (c == u'\r' || c == u'\n') {
                if (c == u'\r' && m_i < m_t.size() && m_t.at(m_i) == u'\n') ++m_i;
                break;
            } else {
                atual += c;
            }
        }
        fecha(campos, vazios, atual);
        return campos;
    }

private:
    void fecha(QStringList& campos, QList<bool>* vazios, QString& atual) {
        vazios->push_back(atual.isEmpty() && !m_teveAspas);
        campos.push_back(atual);
        atual.clear();
        m_teveAspas = false;
    }
    const QString& m_t;
    QChar m_sep;
    qsizetype m_i = 0;
    bool m_teveAspas = false;
};
}  // namespace

const QStringList& BaseOlvar::Colunas() {
    static const QStringList c = [] {
        QStringList l;
        for (const char* n : kColunas) l << QString::fromLatin1(n);
        return l;
    }();
    return c;
}

BaseOlvar::BaseOlvar(const QString& caminho, const QString& cdOper)
    : m_caminho(caminho),
      m_temporario(caminho + QStringLiteral(".tmp")),
      m_banco(std::make_unique<Banco>()) {
    QFile::remove(m_temporario);
    m_banco->abre(m_temporario, TDmConexao::SenhaBancoAnterior(), true);
    m_banco->executaScript(QString::fromLatin1(kEsquema));
    m_banco->iniciaTransacao();
    if (!cdOper.isEmpty())
        m_banco->executa(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES (?)"), {cdOper});
}

BaseOlvar::~BaseOlvar() {
    if (!m_concluida) {
        m_banco->fecha();
        QFile::remove(m_temporario);
    }
}

void BaseOlvar::Acrescenta(const QVariantMap& valores) {
    QStringList nomes;
    QVariantList params;
    for (auto it = valores.cbegin(); it != valores.cend(); ++it) {
        const auto c = std::find_if(Colunas().cbegin(), Colunas().cend(), [&](const QString& n) {
            return n.compare(it.key(), Qt::CaseInsensitive) == 0;
        });
        if (c == Colunas().cend())
            throw ErroQev(QStringLiteral("Coluna desconhecida: %1").arg(it.key()));
        nomes << *c;
        params << (c->startsWith(QLatin1String("DT_")) ? normalizaData(it.value()) : it.value());
    }
    QString sql = QStringLiteral("INSERT INTO TB_ESTAB_SAUDE DEFAULT VALUES");
    if (!nomes.isEmpty())
        sql = QStringLiteral("INSERT INTO TB_ESTAB_SAUDE (%1) VALUES (%2)")
                  .arg(nomes.join(QStringLiteral(", ")),
                       QStringList(nomes.size(), QStringLiteral("?")).join(QStringLiteral(", ")));
    m_banco->executa(sql, params);
    ++m_quantidade;
}

void BaseOlvar::Conclui() {
    m_banco->confirmaTransacao();
    m_banco->fecha();
    QFile::remove(m_caminho);
    if (!QFile::rename(m_temporario, m_caminho))
        throw ErroQev(QStringLiteral("Não foi possível gravar \"%1\".").arg(m_caminho));
    m_concluida = true;
}

int BaseOlvar::LeCsv(QIODevice& csv, BaseOlvar& destino) {
    QString texto = QString::fromUtf8(csv.readAll());
    if (texto.startsWith(QChar(0xFEFF))) texto.remove(0, 1);
    const qsizetype fimCabecalho = texto.indexOf(QLatin1Char('\n'));
    const QString cabecalho = texto.left(fimCabecalho < 0 ? texto.size() : fimCabecalho);
    const QChar sep = cabecalho.contains(QLatin1Char(';')) ? QLatin1Char(';') : QLatin1Char(',');
    LeitorCsv leitor(texto, sep);
    QList<bool> vazios;
    QStringList colunas = leitor.registro(&vazios);
    for (QString& c : colunas) c = c.trimmed();
    int linha = 1;
    int acrescentadas = 0;
    while (!leitor.fim()) {
        ++linha;
        const QStringList campos = leitor.registro(&vazios);
        if (campos.size() == 1 && vazios.first()) continue;  // an empty line
        if (campos.size() > colunas.size())
            throw ErroQev(QStringLiteral("Linha %1 do CSV: %2 campos, o cabeçalho tem %3.")
                              .arg(linha)
                              .arg(campos.size())
                              .arg(colunas.size()));
        QVariantMap valores;
        for (int i = 0; i < campos.size(); ++i)
            if (!vazios.at(i)) valores.insert(colunas.at(i), campos.at(i));
        destino.Acrescenta(valores);
        ++acrescentadas;
    }
    return acrescentadas;
}

QVariantMap BaseOlvar::Gerada(int i) {
    static const char* const tipos[] = {"HOSPITAL", "CLÍNICA", "LABORATÓRIO", "CASA DE SAÚDE",
                                        "Policlínica"};
    static const char* const nomes[] = {"SÃO JOSÉ", "SANTA LÚCIA", "d'Ávila", "NOSSA SENHORA",
                                        "Irmãos Penteado", "Éden", "Coração de Maria"};
    static const qlonglong municipios[] = {3550308, 3304557, 5300108, 2927408, 4106902, 1302603};
    const int classif = i % 5 < 2 ? 1 : (i % 5 < 4 ? 2 : 3);
    const bool contratualizado = i % 2 == 0;
    QVariantMap v;
    v.insert(QStringLiteral("CD_CNPJ_ESTB_SAUD"),
             CompletaDigitosCnpj(QStringLiteral("%1").arg(20000000 + i % 80000000, 8, 10,
                                                          QLatin1Char('0')) +
                                 QStringLiteral("0001")));
    v.insert(QStringLiteral("CD_CNES"),
             CompletaDigitoCnes(QStringLiteral("%1").arg(100000 + i % 900000, 6, 10, QLatin1Char('0'))));
    v.insert(QStringLiteral("RAZAO_SOCIAL_ESTB_SAUD"),
             (QString::fromUtf8(tipos[i % 5]) + QLatin1Char(' ') + QString::fromUtf8(nomes[i % 7]) +
              QLatin1Char(' ') + QString::number(i))
                 .left(60));
    v.insert(QStringLiteral("CD_CLASSIF_ESTAB_SAUDE"), classif);
    v.insert(QStringLiteral("CD_TIPO_ESTB_SAUD"), contratualizado ? 2000 : 1000);
    v.insert(QStringLiteral("ID_MUNC"), municipios[i % 6]);
    v.insert(QStringLiteral("LG_HOSPITAL_INCLUIDO"), QStringLiteral("N"));
    v.insert(QStringLiteral("LG_CLASSIFICADO_ZUB"), QStringLiteral("N"));
    v.insert(QStringLiteral("DT_VINCULO_OPER"), QDate(2015, 4, 1));
    if (contratualizado) {
        v.insert(QStringLiteral("CD_TIPO_CONTRATO_ESTB_SAUDE"), QStringLiteral("D"));
        v.insert(QStringLiteral("DT_CONTRATO_OPER"), QDate(2015, 3, 2));
    }
    if (classif == 1) {
        v.insert(QStringLiteral("CD_DISP_SERVICO"), QStringLiteral("T"));
        v.insert(QStringLiteral("LG_URGENCIA_EMERGENCIA"), QStringLiteral("S"));
    }
    return v;
}
