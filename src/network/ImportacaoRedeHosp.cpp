#include "network/ImportacaoRedeHosp.h"

#include <QElapsedTimer>
#include <QFile>

#include "common/Identificadores.h"
#include "db/Banco.h"
#include "db/Valores.h"
#include "network/LeitorLinhas.h"
#include "platform/Plataforma.h"
#include "request/DmExportacao.h"
#include "common/Win1252.h"

namespace {

// Field labels of the load-error rows.
const QString& rotulo(int i) {
    static const QString r[] = {
        QStringLiteral("Classificação do Estabelecimento"),         // 0
        QStringLiteral("CNES"),                                      // 1
        QStringLiteral("CNPJ"),                                      // 2
        QStringLiteral("CNPJ/CPF + CNES"),                           // 3
        QStringLiteral("Razão Social"),                              // 4
        QStringLiteral("Relação com Entidade Hospitalar"),           // 5
        QStringLiteral("Código Município"),                          // 6
        QStringLiteral("Tipo de Contratualização"),                  // 7
        QStringLiteral("Registro ZUB da Operadora Intermediária"),   // 8
        QStringLiteral("Data de Contratualização"),                  // 9
        QStringLiteral("Data de início da prestação do Serviço"),    // 10
        QStringLiteral("Disponibilidade de Serviços"),               // 11
        QStringLiteral("Urgência / Emergência"),                     // 12
        QStringLiteral("Tamanho do registro"),                       // 13
        QStringLiteral("Conteúdo do registro"),                      // 14
    };
    return r[i];
}
enum Rotulo {
    RClassif, RCnes, RCnpj, RDuplicado, RNome, RRelacao, RMunicipio, RTipo, RIntermed,
    RDtContrato, RDtVinculo, RDisp, RUrgencia, RTamanho, RConteudo
};

// The record's fields: first position (0-based), width and the label of its rows.
struct Campo {
    int inicio;
    int largura;
    Rotulo rotulo;
};
constexpr Campo kCampos[] = {
    {0, 14, RCnpj},       {14, 60, RNome},       {74, 4, RRelacao},  {78, 7, RMunicipio},
    {85, 1, RTipo},       {86, 8, RDtContrato},  {94, 7, RCnes},     {101, 8, RDtVinculo},
    {109, 1, RClassif},   {110, 6, RIntermed},   {116, 1, RDisp},    {117, 1, RUrgencia},
};

// Trimming as the file's rules mean it: every character up to the space is blank.
QStringView apara(QStringView s) {
    qsizetype i = 0;
    qsizetype f = s.size();
    while (i < f && s.at(i).unicode() <= ' ') ++i;
    while (f > i && s.at(f - 1).unicode() <= ' ') --f;
    return s.mid(i, f - i);
}
QString apara(const QString& s) { return apara(QStringView(s)).toString(); }

bool soDigitos(QStringView s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return true;
}

bool soZeros(QStringView s) {
    for (QChar c : s)
        if (c != QLatin1Char('0')) return false;
    return true;
}

// A positive whole number written only with digits; anything else is 0.
int numero(QStringView s) {
    if (!soDigitos(s) || s.size() > 9) return 0;
    return s.toInt();
}

// DDMMYYYY rewritten as "DD/MM/YYYY"; blank stays empty.
QString data(QStringView bruto) {
    if (apara(bruto).isEmpty()) return QString();
    QString d;
    d.reserve(10);
    d.append(bruto.mid(0, 2)).append(u'/').append(bruto.mid(2, 2)).append(u'/').append(bruto.mid(4, 4));
    return d;
}

// A valid date: day, month and year that exist, the year 1900 or later (what
// TDmExportacao::DataValida accepts of "DD/MM/YYYY" made of digits), read without the
// general date parser: it runs twice per line.
QDate dataValida(const QString& ddmmaaaa) {
    if (ddmmaaaa.size() != 10 || ddmmaaaa.at(2) != u'/' || ddmmaaaa.at(5) != u'/') return QDate();
    int v[3] = {0, 0, 0};
    const int inicio[3] = {0, 3, 6};
    const int largura[3] = {2, 2, 4};
    for (int k = 0; k < 3; ++k)
        for (int i = inicio[k]; i < inicio[k] + largura[k]; ++i) {
            const char16_t c = ddmmaaaa.at(i).unicode();
            if (c < u'0' || c > u'9') return QDate();
            v[k] = v[k] * 10 + (c - u'0');
        }
    if (v[2] < 1900) return QDate();
    return QDate(v[2], v[1], v[0]);
}

// Bytes above 127 that form valid UTF-8: a line written by a program that does not use the
// file's single-byte set (accents would be read as two characters each and every later
// field would be displaced). Windows-1252 text in Portuguese practically never is.
bool pareceUtf8(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) return true;  // the mark some editors put first
    bool multibyte = false;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes.at(i));
        int seguem = 0;
        if (b < 0x80) {
            ++i;
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) seguem = 1;
        else if (b >= 0xE0 && b <= 0xEF) seguem = 2;
        else if (b >= 0xF0 && b <= 0xF4) seguem = 3;
        else return false;
        if (i + seguem >= bytes.size()) return false;
        for (int k = 1; k <= seguem; ++k)
            if ((static_cast<unsigned char>(bytes.at(i + k)) & 0xC0) != 0x80) return false;
        multibyte = true;
        i += seguem + 1;
    }
    return multibyte;
}

QString hex(unsigned char b) {
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

QVariant textoOuNulo(const QString& s) {
    const QString t = apara(s);
    return t.isEmpty() ? QVariant() : QVariant(t);
}

}  // namespace

DadosEstab RegistroImportado::dados() const {
    DadosEstab d;
    d.cnpj = cnpjCpf;
    d.nome = nome;
    // only a valid code is stored (a CPF's line may carry another one)
    if (relacao == 1000 || relacao == 2000) d.tipoEstab = relacao;
    if (!municipio.isEmpty()) d.municipio = municipio.toLongLong();
    d.tipoContrato = textoOuNulo(tipoContrato);
    d.cnes = textoOuNulo(cnes);
    if (const QDate c = dataValida(dataContrato); c.isValid()) d.dataContrato = c;
    if (const QDate v = dataValida(dataVinculo); v.isValid()) d.dataVinculo = v;
    d.classificacao = classificacao;
    d.classificadoZub = QStringLiteral("N");
    d.intermediaria = textoOuNulo(intermediaria);
    d.disponibilidade = textoOuNulo(disponibilidade);
    d.urgencia = textoOuNulo(urgencia);
    return d;
}

ImportacaoRedeHosp::ImportacaoRedeHosp(Banco& banco, TDmExportacao& erros, QString cdOper)
    : m_banco(banco),
      m_erros(erros),
      m_cdOper(std::move(cdOper)),
      m_agora(Relogio::agora()),
      m_win1252(std::make_unique<LeitorWin1252>()) {}

ImportacaoRedeHosp::~ImportacaoRedeHosp() = default;

void ImportacaoRedeHosp::CarregaListas() {
    m_classificacoes.clear();
    m_municipios.clear();
    for (const auto& l :
         m_banco.consulta(QStringLiteral("SELECT CD_CLASSIF_ESTAB_SAUDE FROM TA_CLASSIF_ESTAB_SAUDE")).linhas)
        m_classificacoes.insert(l.first().toInt());
    const Resultado m = m_banco.consulta(QStringLiteral("SELECT ID_MUNC FROM TB_MUNICIPIOS"));
    m_municipios.reserve(m.numLinhas());
    for (const auto& l : m.linhas) m_municipios.insert(l.first().toLongLong());
}

void ImportacaoRedeHosp::DefineLote(int linhas, int ms) {
    m_loteLinhas = linhas;
    m_loteMs = ms;
}

bool ImportacaoRedeHosp::existeDuplicado(const QString& cnpj, const QString& cnes) {
    const QString sql = QStringLiteral("SELECT 1 FROM TB_ESTAB_SAUDE WHERE CD_CNPJ_ESTB_SAUD = ?");
    if (cnes.isEmpty()) {
        if (!m_duplicado)
            m_duplicado = std::make_unique<ComandoPreparado>(m_banco, sql + QStringLiteral(" LIMIT 1"));
        return m_duplicado->valor({cnpj}).isValid();
    }
    if (!m_duplicadoCnes)
        m_duplicadoCnes = std::make_unique<ComandoPreparado>(
            m_banco, sql + QStringLiteral(" AND CD_CNES = ? LIMIT 1"));
    return m_duplicadoCnes->valor({cnpj, cnes}).isValid();
}

QVector<ErroLinha> ImportacaoRedeHosp::AnalisaLinha(const QByteArray& bytes, bool atualiza,
                                                     RegistroImportado* saida, bool restoComDados) {
    QVector<ErroLinha> erros;
    const auto erro = [&erros](Rotulo r, const QString& m) { erros.push_back({rotulo(r), m}); };

    // The record's size: characters beyond it that are not blank.
    if (bytes.size() != kTamanhoRegistro) {
        bool dadosAlem = restoComDados;
        for (qsizetype i = kTamanhoRegistro; i < bytes.size() && !dadosAlem; ++i)
            if (static_cast<unsigned char>(bytes.at(i)) > ' ') dadosAlem = true;
        if (dadosAlem)
            erro(RTamanho, QStringLiteral("Tamanho do registro inválido."));
    }

    if (pareceUtf8(bytes))
        erro(RConteudo, QStringLiteral("O registro está gravado em UTF-8; o arquivo deve estar em "
                                       "Windows-1252."));

    // The record's own characters: Windows-1252 text without control characters.
    const qsizetype n = qMin<qsizetype>(bytes.size(), kTamanhoRegistro);
    QVector<qsizetype> invalidos;
    const QString t = m_win1252->decodifica(bytes.constData(), n, &invalidos);
    for (const Campo& c : kCampos) {
        for (int i = c.inicio; i < c.inicio + c.largura && i < n; ++i) {
            const auto b = static_cast<unsigned char>(bytes.at(i));
            if (invalidos.contains(i)) {
                erro(c.rotulo, QStringLiteral("Caractere inválido na posição %1 (código %2 "
                                              "hexadecimal): o arquivo deve estar em Windows-1252.")
                                   .arg(i + 1)
                                   .arg(hex(b)));
                break;
            }
            if (b < 0x20 || b == 0x7F) {
                erro(c.rotulo, QStringLiteral("Caractere de controle na posição %1 (código %2 "
                                              "hexadecimal).")
                                   .arg(i + 1)
                                   .arg(hex(b)));
                break;
            }
        }
    }

    // The parse.
    RegistroImportado r;
    // (views into the decoded line: only what is kept becomes a text of its own)
    const auto campo = [&t](int inicio, int largura) { return QStringView(t).mid(inicio, largura); };
    const QStringView cnpjLido = apara(campo(0, 14));
    r.tamanhoCnpjCpf = int(cnpjLido.size());
    if (r.tamanhoCnpjCpf != 14 || (soDigitos(cnpjLido) && !soZeros(cnpjLido)))
        r.cnpjCpf = cnpjLido.toString();
    r.nome = apara(campo(14, 60)).toString();
    const QStringView relacao = apara(campo(74, 4));
    r.relacao = numero(relacao);
    const QStringView municipio = apara(campo(78, 7));
    if (municipio != QLatin1String("0000000")) r.municipio = municipio.toString();
    r.tipoContrato = campo(85, 1).toString();
    r.dataContrato = data(campo(86, 8));
    r.cnes = campo(94, 7).toString();
    r.dataVinculo = data(campo(101, 8));
    const QStringView classif = campo(109, 1);
    r.classificacao = soDigitos(classif) ? classif.toInt() : -1;
    const QStringView intermediaria = apara(campo(110, 6));
    if (intermediaria != QLatin1String("000000")) r.intermediaria = intermediaria.toString();
    r.disponibilidade = campo(116, 1).toString();
    r.urgencia = campo(117, 1).toString();
    const bool hospitalar = r.classificacao == 1;

    // 1-2. classification
    if (apara(classif).isEmpty())
        erro(RClassif, QStringLiteral("Classificação do Estabelecimento não informada."));
    if (r.classificacao < 0 || !m_classificacoes.contains(r.classificacao))
        erro(RClassif, QStringLiteral("Classificação do Estabelecimento inválida."));

    // 3-4. CNES
    const QStringView cnes = apara(QStringView(r.cnes));
    if (!cnes.isEmpty()) {
        if (cnes.size() != 7)
            erro(RCnes, QStringLiteral("CNES do Estabelecimento de Saúde deve possuir 7 dígitos."));
        else if (!soDigitos(cnes) || !ValidaCnes(cnes.toString()) || cnes == QLatin1String("0000000"))
            erro(RCnes, QStringLiteral("CNES do Estabelecimento de Saúde inválido."));
    }

    // 5-8. CNPJ or CPF
    const int tam = r.tamanhoCnpjCpf;
    if (tam == 0) {
        erro(RCnpj, QStringLiteral("CNPJ/CPF do Estabelecimento de Saúde não informado."));
    } else if (tam != 14 && tam != 11) {
        erro(RCnpj,
             QStringLiteral("CNPJ/CPF do Estabelecimento de Saúde deve possuir 14 ou 11 dígitos."));
    } else {
        if (tam == 11 || r.cnpjCpf.startsWith(QLatin1String("000"))) {
            const QString candidato = tam == 11 ? r.cnpjCpf : r.cnpjCpf.mid(3);
            if (soDigitos(candidato) && !soZeros(candidato) && ValidaCnpjCpf(candidato, 1)) {
                r.cpf = true;
                r.cnpjCpf = candidato;
            }
        }
        // A CNPJ has 14 digits: an 11-character value that is no CPF is no CNPJ either.
        if (!r.cpf) {
            if (tam == 14 && soDigitos(r.cnpjCpf) && ValidaCnpjCpf(r.cnpjCpf, 0))
                r.cnpjValido = true;
            else
                erro(RCnpj, QStringLiteral("CNPJ/CPF do Estabelecimento de Saúde inválido."));
        }
    }
    if (hospitalar && !r.cnpjValido)
        erro(RCnpj, QStringLiteral("CNPJ do Estabelecimento de Saúde inválido."));

    // 9. already registered (the lines accepted before this one included)
    if (!atualiza && tam > 0 && existeDuplicado(r.cnpjCpf, cnes.toString()))
        erro(RDuplicado, QStringLiteral("O Conjunto CNPJ ou CPF + CNES deve ser único."));

    // 10. name. It travels in the request file, which carries Windows-1252 only: a name
    // read from this file always can be carried (every character came from one of its
    // bytes; an undefined byte has its row above), so ConfereTextoArquivo never refuses one.
    if (r.nome.isEmpty())
        erro(RNome,
             QStringLiteral("Nome ou Razão Social do Estabelecimento de Saúde não informada."));

    // 11-12. relation; neither applies to a CPF (whose code is stored only when it is
    // 1000 or 2000, see dados())
    if (hospitalar && r.relacao == 0 && !r.cpf)
        erro(RRelacao, QStringLiteral("Relação com Entidade Hospitalar não informada."));
    else if (r.relacao != 1000 && r.relacao != 2000 && !r.cpf)
        erro(RRelacao, QStringLiteral("Relação com Entidade Hospitalar inválida. Informe 1000 para "
                                      "Próprio e 2000 para Contratualizado."));

    // 13-15. municipality
    if (cnes.isEmpty() && r.municipio.isEmpty())
        erro(RMunicipio, QStringLiteral("Código do Município não informado."));
    if (!r.municipio.isEmpty()) {
        if (r.municipio.size() < 7)
            erro(RMunicipio, QStringLiteral("Código do Município deve possuir 7 dígitos."));
        else if (!soDigitos(r.municipio) || !m_municipios.contains(r.municipio.toLongLong()))
            erro(RMunicipio, QStringLiteral("Código do Município inválido."));
    }

    // 16. type of contracting
    if (r.relacao == 2000 && r.tipoContrato != QLatin1String("D") &&
        r.tipoContrato != QLatin1String("I"))
        erro(RTipo, QStringLiteral("Tipo de Contratualização inválido."));

    // What the relation makes irrelevant is not checked and not written.
    if (r.relacao == 2000 && r.tipoContrato != QLatin1String("I")) r.intermediaria.clear();
    if (r.relacao == 1000) {
        r.tipoContrato.clear();
        r.intermediaria.clear();
        r.dataContrato.clear();
    }

    // 17-20. intermediary operator
    if (r.tipoContrato == QLatin1String("I") && r.intermediaria.isEmpty())
        erro(RIntermed, QStringLiteral("Registro ZUB da Operadora Intermediária não informado."));
    if (!r.intermediaria.isEmpty()) {
        if (r.intermediaria.size() < 6) {
            erro(RIntermed,
                 QStringLiteral("Registro ZUB da Operadora Intermediária deve possuir 6 dígitos."));
        } else if (r.intermediaria == apara(m_cdOper)) {
            erro(RIntermed, QStringLiteral("O Registro ZUB da Operadora Intermediária não pode ser "
                                           "igual ao da Operadora."));
        } else {
            bool valido = false;
            try {
                valido = ValidaCodigoOperadora(r.intermediaria);
            } catch (const ErroQev&) {
                valido = false;
            }
            if (!valido)
                erro(RIntermed, QStringLiteral("Registro ZUB da Operadora Intermediária inválido."));
        }
    }

    // 21-24. date of contracting
    if (r.relacao == 2000 && !r.dataContrato.isEmpty()) {
        const QDate d = dataValida(r.dataContrato);
        if (!d.isValid())
            erro(RDtContrato, QStringLiteral("Data de Contratualização inválida."));
        else if (d > m_agora.date())  // a day at midnight is later than now only after today
            erro(RDtContrato, QStringLiteral("Data de Contratualização superior à data atual."));
        else if (d < QDate(2003, 12, 1) && (r.classificacao == 2 || r.classificacao == 3))
            erro(RDtContrato,
                 QStringLiteral("Data de Contratualização anterior à data da RN 54 (01/12/2003)."));
        else if (d < QDate(2003, 7, 7) && hospitalar)
            erro(RDtContrato,
                 QStringLiteral("Data de Contratualização anterior à data da RN 42 (07/07/2003)."));
    }

    // 25-27. start of service
    if (r.relacao != 0) {
        const QDate d = dataValida(r.dataVinculo);
        if (r.dataVinculo.isEmpty())
            erro(RDtVinculo,
                 QStringLiteral("Data de início da prestação do Serviço não informada."));
        else if (!d.isValid())
            erro(RDtVinculo, QStringLiteral("Data de início da prestação do Serviço inválida."));
        else if (d > m_agora.date())
            erro(RDtVinculo,
                 QStringLiteral("Data de início da prestação do Serviço superior à data atual."));
    }

    // 28-29. availability
    const QStringView disp = apara(QStringView(r.disponibilidade));
    if (hospitalar && disp.isEmpty())
        erro(RDisp, QStringLiteral("Disponibilidade de Serviços não informada."));
    else if (!disp.isEmpty() && disp != QLatin1String("P") && disp != QLatin1String("T"))
        erro(RDisp, QStringLiteral("Disponibilidade de Serviços inválida."));

    // 30-31. urgency/emergency
    const QStringView urg = apara(QStringView(r.urgencia));
    if (hospitalar && urg.isEmpty())
        erro(RUrgencia, QStringLiteral("Indicador de Urgência / Emergência não informado."));
    else if (hospitalar && urg != QLatin1String("S") && urg != QLatin1String("N"))
        erro(RUrgencia, QStringLiteral("Indicador de Urgência / Emergência inválido."));
    if (!hospitalar) r.urgencia.clear();

    if (saida) *saida = std::move(r);
    return erros;
}

ImportacaoRedeHosp::Totais ImportacaoRedeHosp::Executa(const QString& caminho, bool atualiza) {
    Totais totais;
    m_agora = Relogio::agora();
    m_erros.LimpaErros();
    int sequencia = 0;

    QFile arquivo(caminho);
    if (!arquivo.open(QIODevice::ReadOnly))
        throw ErroQev(QStringLiteral("Não foi possível abrir o arquivo \"%1\": %2")
                          .arg(caminho, arquivo.errorString()));
    const qint64 total = LeitorLinhas::conta(arquivo);
    if (!arquivo.seek(0))
        throw ErroQev(QStringLiteral("Erro ao ler o arquivo: %1").arg(arquivo.errorString()));

    GravadorEstab gravador(m_banco, m_cdOper);
    gravador.DefineLote(m_loteLinhas, m_loteMs);
    gravador.aoConfirmar = aoConfirmarLote;
    QElapsedTimer relogio;
    relogio.start();
    if (aoProgredir) aoProgredir(0, int(total));
    // what was accepted is committed at the end, and before a failure is raised
    gravador.Executa([&] {
        LeitorLinhas leitor(arquivo);
        LeitorLinhas::Linha linha;
        RegistroImportado registro;
        while (leitor.proxima(linha)) {
            ++totais.lidas;
            const int numeroLinha = totais.lidas;
            bool branca = true;
            for (char c : std::as_const(linha.bytes))
                if (static_cast<unsigned char>(c) > ' ') {
                    branca = false;
                    break;
                }
            if (!branca || linha.restoComDados) {
                // the duplicate check and the write see the same database
                gravador.Inicia();
                const QVector<ErroLinha> erros = AnalisaLinha(
                    linha.bytes, atualiza, &registro, linha.restoComDados);
                bool aceita = true;
                for (const ErroLinha& e : erros) {
                    m_erros.AdicionaErro(sequencia, e.campo, numeroLinha, e.mensagem);
                    // the size of the record alone does not refuse it
                    if (e.campo != rotulo(RTamanho)) aceita = false;
                }
                if (aceita) {
                    const DadosEstab dados = registro.dados();
                    std::optional<qlonglong> existente;
                    if (atualiza)
                        existente = gravador.Localiza(registro.cnpjCpf, apara(registro.cnes));
                    if (existente) {
                        gravador.Atualiza(*existente, dados);
                        ++totais.atualizados;
                    } else {
                        gravador.Insere(dados);
                        ++totais.importados;
                    }
                }
                gravador.Marca();
            }
            if (aoProgredir && relogio.elapsed() >= intervaloProgressoMs) {
                aoProgredir(numeroLinha, int(total));
                relogio.restart();
            }
        }
    });
    if (aoProgredir) aoProgredir(totais.lidas, int(total));
    return totais;
}

QString ImportacaoRedeHosp::FormataContagem(qlonglong n) {
    if (n == 0) return QString();
    return ptBr().toString(n);
}

QString ImportacaoRedeHosp::Resumo(const Totais& t, bool atualiza) {
    const QString importados =
        t.importados > 0
            ? FormataContagem(t.importados) +
                  QStringLiteral(" Estabelecimento(s) de Saúde importado(s).")
            : QStringLiteral("Nenhum Estabelecimento de Saúde foi importado.");
    QString resumo = FormataContagem(t.lidas) +
                     QStringLiteral(" Estabelecimento(s) de Saúde processados.") +
                     QLatin1Char('\r') + importados;
    if (atualiza)
        resumo += QLatin1Char('\r') +
                  (t.atualizados > 0
                       ? FormataContagem(t.atualizados) +
                             QStringLiteral(" Estabelecimento(s) de Saúde atualizado(s).")
                       : QStringLiteral("Nenhum Estabelecimento de Saúde foi atualizado."));
    return resumo;
}
