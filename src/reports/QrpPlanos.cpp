#include "reports/QrpPlanos.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/ExecucaoModal.h"
#include "db/DmConexao.h"
#include "operator/Operadora.h"
#include "reports/FrmPreviewQR.h"
#include "reports/QrpDispContratuais.h"
#include "reports/UtilRelatorios.h"

using UtilRelatorios::Vazio;

namespace {
constexpr qreal kLarguraRotulo = 830;
constexpr qreal kLinha = 45;
constexpr int kContratoIndividual = 1;

QFont fonteRotulo() { return FonteRelatorio(9, true); }
QFont fonteCorpo() { return FonteRelatorio(9); }
}  // namespace

QString TqrpPlanos::FormacaoPreco(const QVariant& v) {
    if (Vazio(v)) return QString();
    switch (v.toInt()) {
        case 1:
            return QStringLiteral("Pré-Estabelecido");
        case 2:
            return QStringLiteral("Pós-Estabelecido");
        case 3:
            return QStringLiteral("Misto");
    }
    return QString();
}

QString TqrpPlanos::OpcaoPosEstabelecido(const QVariant& v) {
    const QString t = v.toString();
    if (t == QLatin1String("C")) return QStringLiteral("Custo Operacional");
    if (t == QLatin1String("R")) return QStringLiteral("Rateio");
    return QString();
}

QString TqrpPlanos::PadraoAcomodacao(const QVariant& v) {
    const QString t = v.toString();
    if (t == QLatin1String("I")) return QStringLiteral("Individual");
    if (t == QLatin1String("C")) return QStringLiteral("Coletiva");
    return QString();
}

QString TqrpPlanos::ParticipacaoFinanceira(const QVariant& v) {
    const QString t = v.toString();
    if (t == QLatin1String("S")) return QStringLiteral("Sem Patrocinio");
    if (t == QLatin1String("C")) return QStringLiteral("Com Patrocinio");
    return QString();
}

QString TqrpPlanos::SimNao(const QVariant& v) {
    const QString t = v.toString();
    if (t == QLatin1String("S")) return QStringLiteral("Sim");
    if (t == QLatin1String("N")) return QStringLiteral("Não");
    return QString();
}

// One line of the general data under the detail: a label and a text.
Banda* TqrpPlanos::linhaGeral(Banda* detalhe, const QString& nome, const QString& rotulo) {
    Banda* b = CriaFilha(detalhe, kLinha + 5, nome);
    b->Rotulo(QStringLiteral("lbl"), rotulo, QRectF(0, 0, kLarguraRotulo, kLinha), fonteRotulo());
    b->Rotulo(QStringLiteral("qrd"), QString(), QRectF(kLarguraRotulo, 0, LarguraUtil() - kLarguraRotulo, kLinha),
              fonteCorpo(), Qt::AlignLeft | Qt::AlignVCenter)
        ->cresce = true;
    return b;
}

// A section: its heading (and subtitle) and one band per row, printed only when it has rows.
void TqrpPlanos::secao(const QString& titulo, const DadosPlanoAbertos::Fonte& aberta,
                       std::function<std::unique_ptr<FonteDados>()> doBanco, Banda*& detalhe,
                       qreal alturaDetalhe, const QString& subtitulo) {
    const qreal w = LarguraUtil();
    SubDetalhe* s = CriaSubDetalhe(aberta ? aberta : std::move(doBanco), alturaDetalhe,
                                   subtitulo.isEmpty() ? 80 : 125);
    s->cabecalho->Rotulo(QStringLiteral("lblSecao"), titulo, QRectF(0, 20, w, 50), FonteRelatorio(10, true));
    s->cabecalho->Linha(QStringLiteral("linSecao"), QRectF(0, 68, w, 6), 2);
    if (!subtitulo.isEmpty())
        s->cabecalho->Rotulo(QStringLiteral("lblSubtitulo"), subtitulo, QRectF(0, 78, w, kLinha),
                             fonteRotulo());
    detalhe = s->detalhe;
}

TqrpPlanos::TqrpPlanos(Banco& banco, const QString& cdOper, const std::optional<int>& seqPlano,
                       const OpcoesRelatorioPlanos& opcoes, const DadosPlanoAbertos& abertos,
                       QObject* pai)
    : TqrpModeloRelatorio(false, true, pai) {
    setObjectName(QStringLiteral("qrpPlanos"));
    const qreal w = LarguraUtil();
    const QFont rotulo = fonteRotulo();
    const QFont corpo = fonteCorpo();

    // "Plano :" heads each plan; with sections, each plan on its own pages.
    Banda* g = CriaGrupo(QStringLiteral("SEQ_PLANO"), 75, QStringLiteral("qrgPlano"));
    g->Campo(QStringLiteral("qrdPlano"), QStringLiteral("NM_PLANO"), QRectF(0, 10, w, 55),
             FonteRelatorio(11, true))
        ->texto = QStringLiteral("Plano :");
    g->Linha(QStringLiteral("linPlano"), QRectF(0, 66, w, 6), 3);
    g->novaPagina = opcoes.alguma();
    g->repeteNaPagina = opcoes.alguma();

    // 1. General data.
    Banda* d = qrbDetalhe;
    d->altura = 4 * kLinha + 30;
    d->Rotulo(QStringLiteral("lblDadosGerais"), QStringLiteral("Dados Gerais"), QRectF(0, 15, w, 50),
              FonteRelatorio(10, true));
    const struct {
        const char* rotulo;
        const char* campo;
    } fixas[] = {{"Contratação :", "DE_TIPO_CONTRATO"},
                 {"Abrangência Geográfica :", "DE_ABRANGENCIA"},
                 {"Segmentação Assistencial :", "DE_SEGMENTACAO"}};
    for (int i = 0; i < 3; ++i) {
        const qreal y = 70 + i * kLinha;
        d->Rotulo(QStringLiteral("lbl") + QString::fromLatin1(fixas[i].campo),
                  QString::fromUtf8(fixas[i].rotulo), QRectF(0, y, kLarguraRotulo, kLinha), rotulo);
        d->Campo(QString::fromLatin1(fixas[i].campo), QString::fromLatin1(fixas[i].campo),
                 QRectF(kLarguraRotulo, y, w - kLarguraRotulo, kLinha), corpo);
    }

    Banda* preco = linhaGeral(d, QStringLiteral("qrcPreco"), QStringLiteral("Formação do Preço :"));
    preco->Item(QStringLiteral("qrd"))->caixa.setWidth(310);
    preco->Rotulo(QStringLiteral("lblPos"), QStringLiteral("Opção Pós-Estabelecido :"),
                  QRectF(1150, 0, 400, kLinha), rotulo);
    preco->Rotulo(QStringLiteral("qrdPos"), QString(), QRectF(1550, 0, w - 1550, kLinha), corpo);
    preco->AntesImprimir = [this](Banda& b) {
        const QVariant financ = Valor(QStringLiteral("CD_TIPO_FINANC"));
        const QString texto = FormacaoPreco(financ);
        if (texto.isEmpty()) return false;
        b.Item(QStringLiteral("qrd"))->texto = texto;
        const QVariant pos = Valor(QStringLiteral("CD_OPCAO_POS_ESTABELECIDO"));
        b.Item(QStringLiteral("lblPos"))->visivel = !Vazio(pos);
        b.Item(QStringLiteral("qrdPos"))->visivel = !Vazio(pos);
        b.Item(QStringLiteral("qrdPos"))->texto = OpcaoPosEstabelecido(pos);
        return true;
    };

    Banda* vinculo = linhaGeral(d, QStringLiteral("qrcVinculo"), QStringLiteral("Vínculo do Beneficiário :"));
    vinculo->AntesImprimir = [this](Banda& b) {
        QStringList textos;
        if (Valor(QStringLiteral("LG_VB_VINCULO_ATIVO")).toString() == QLatin1String("S"))
            textos << QStringLiteral("Com vínculo empregatício ativo");
        if (Valor(QStringLiteral("LG_VB_VINCULO_INATIVO")).toString() == QLatin1String("S"))
            textos << QStringLiteral("Com vínculo empregatício inativo");
        if (Valor(QStringLiteral("LG_VB_SEM_VINCULO")).toString() == QLatin1String("S"))
            textos << QStringLiteral("Sem vínculo empregatício");
        if (textos.isEmpty()) return false;
        const QVariant tipo = Valor(QStringLiteral("CD_TIPO_CONTRATO"));
        b.Item(QStringLiteral("lbl"))->visivel = Vazio(tipo) || tipo.toInt() != kContratoIndividual;
        b.Item(QStringLiteral("qrd"))->texto = textos.join(QStringLiteral(", "));
        return true;
    };

    Banda* acomodacao =
        linhaGeral(d, QStringLiteral("qrcAcomodacao"), QStringLiteral("Padrão de Acomodação :"));
    acomodacao->AntesImprimir = [this](Banda& b) {
        const QVariant v = Valor(QStringLiteral("CD_PADRAO_ACOMODACAO"));
        if (Vazio(v)) return false;
        b.Item(QStringLiteral("qrd"))->texto = PadraoAcomodacao(v);
        return true;
    };

    Banda* fator = linhaGeral(d, QStringLiteral("qrcFator"), QStringLiteral("Fator moderador :"));
    fator->AntesImprimir = [this](Banda& b) {
        QStringList textos;
        if (Valor(QStringLiteral("LG_FM_COPARTICIPACAO")).toString() == QLatin1String("S"))
            textos << QStringLiteral("Co-participação");
        if (Valor(QStringLiteral("LG_FM_FRANQUIA")).toString() == QLatin1String("S"))
            textos << QStringLiteral("Franquia");
        if (textos.isEmpty()) return false;
        b.Item(QStringLiteral("qrd"))->texto = textos.join(QStringLiteral(", "));
        return true;
    };

    Banda* participacao = linhaGeral(d, QStringLiteral("qrcParticipacao"),
                                     QStringLiteral("Participação Financeira da Contratante :"));
    participacao->AntesImprimir = [this](Banda& b) {
        const QVariant v = Valor(QStringLiteral("CD_PARTC_FINANC_PJ"));
        if (Vazio(v)) return false;
        b.Item(QStringLiteral("qrd"))->texto = ParticipacaoFinanceira(v);
        return true;
    };

    Banda* livre = linhaGeral(d, QStringLiteral("qrcLivreEscolha"),
                              QStringLiteral("Plano opera exclusivamente como Livre Escolha?"));
    livre->AntesImprimir = [this](Banda& b) {
        const QVariant v = Valor(QStringLiteral("LG_TOTAL_LIVRE_ESCOLHA"));
        if (Vazio(v)) return false;
        b.Item(QStringLiteral("qrd"))->texto = SimNao(v);
        return true;
    };

    // The sections, read for the current operator and the plan printed.
    const auto consulta = [this, &banco, cdOper](const QString& sql) {
        return [this, &banco, cdOper, sql]() -> std::unique_ptr<FonteDados> {
            return std::make_unique<FonteConsulta>(
                banco, sql, ParamsPosicionais{cdOper, Valor(QStringLiteral("SEQ_PLANO"))});
        };
    };
    Banda* det = nullptr;
    if (opcoes.taxaRegistro) {
        secao(QStringLiteral("Taxa de Registro"), abertos.taxas,
              consulta(QStringLiteral("SELECT NR_DOCUMENTO_TAXA FROM RL_PLANO_TAXA_REGISTRO "
                                      "WHERE CD_OPER = ? AND SEQ_PLANO = ? ORDER BY ID_PLANO_TAXA_REGISTRO")),
              det, kLinha, QStringLiteral("Número do Documento de Pagamento:"));
        det->Campo(QStringLiteral("qrdTaxa"), QStringLiteral("NR_DOCUMENTO_TAXA"), QRectF(40, 0, w - 40, kLinha),
                   corpo);
    }
    if (opcoes.livreEscolha) {
        secao(QStringLiteral("Livre Escolha"), abertos.coberturas,
              consulta(QStringLiteral(
                  "SELECT TC.DE_TIPO_COBERTURA FROM RL_PLANOS_TIPO_COBERTURA R "
                  "LEFT JOIN TA_TIPO_COBERTURA TC ON TC.CD_TIPO_COBERTURA = R.CD_TIPO_COBERTURA "
                  "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ? "
                  "ORDER BY TC.NR_ORDEM_EXIBICAO, R.CD_TIPO_COBERTURA")),
              det, kLinha);
        det->Campo(QStringLiteral("qrdCobertura"), QStringLiteral("DE_TIPO_COBERTURA"),
                   QRectF(40, 0, w - 40, kLinha), corpo)
            ->cresce = true;
    }
    if (opcoes.servicosAdicionais) {
        secao(QStringLiteral("Serviços e coberturas adicionais"), abertos.servicos,
              consulta(QStringLiteral(
                  "SELECT S.DE_SERV_OPCIONAL AS NM_SERVICO, R.DE_SERV_OPCIONAL "
                  "FROM RL_PLANOS_SERV_OPC R "
                  "LEFT JOIN TA_SERVICOS_OPCIONAIS S ON S.CD_SERV_OPCIONAL = R.CD_SERV_OPCIONAL "
                  "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ? "
                  "ORDER BY S.NR_ORDEM_EXIBICAO, R.CD_SERV_OPCIONAL")),
              det, kLinha);
        det->Campo(QStringLiteral("qrdServico"), QStringLiteral("NM_SERVICO"), QRectF(40, 0, w - 40, kLinha),
                   corpo)
            ->cresce = true;
        Banda* texto = CriaFilha(det, kLinha, QStringLiteral("qrcTextoServico"));
        texto->Campo(QStringLiteral("qrdTextoServico"), QStringLiteral("DE_SERV_OPCIONAL"),
                     QRectF(120, 0, w - 120, kLinha), FonteRelatorio(9, false, true))
            ->cresce = true;
        texto->AntesImprimir = [this](Banda&) {
            return !Vazio(Valor(QStringLiteral("DE_SERV_OPCIONAL")));
        };
    }
    if (opcoes.instrumentoJuridico) {
        secao(QStringLiteral("Instrumento Jurídico"), abertos.dispositivos,
              [this, &banco, cdOper]() -> std::unique_ptr<FonteDados> {
                  return std::make_unique<FonteConsulta>(
                      banco,
                      QStringLiteral(
                          "SELECT T.DE_TIPO_CLAUSULA, T.NR_ORDEM_EXIBICAO, T.DT_PUBLICACAO_FIM, "
                          "C.CD_IDENTIFICACAO_TEXTO, C.DE_CLAUSULA_OPERADORA, C.TX_CLAUSULA_OPERADORA "
                          "FROM RL_PLANO_CLAUSULA R "
                          "LEFT JOIN TB_CLAUSULA_OPERADORA C "
                          "ON C.CD_CLAUSULA_OPERADORA = R.CD_CLAUSULA_OPERADORA AND C.CD_OPER = ? "
                          "LEFT JOIN TA_TIPO_CLAUSULA T ON T.CD_TIPO_CLAUSULA = C.CD_TIPO_CLAUSULA "
                          "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ? ORDER BY R.rowid"),
                      ParamsPosicionais{cdOper, cdOper, Valor(QStringLiteral("SEQ_PLANO"))});
              },
              det, 4 * kLinha + 15);
        det->Rotulo(QStringLiteral("lblTema"), QStringLiteral("Tema:"), QRectF(0, 5, 420, kLinha), rotulo);
        det->Rotulo(QStringLiteral("qrdTema"), QString(), QRectF(420, 5, w - 420 - 360, kLinha), corpo);
        det->Rotulo(QStringLiteral("lblInativo"), QStringLiteral("<<< INATIVO >>>"),
                    QRectF(w - 350, 5, 350, kLinha), rotulo, Qt::AlignRight | Qt::AlignVCenter)
            ->cor = QColor(Qt::red);
        det->Rotulo(QStringLiteral("lblCodigo"), QStringLiteral("Código da Identificação :"),
                    QRectF(0, 5 + kLinha, 420, kLinha), rotulo);
        det->Campo(QStringLiteral("qrdCodigo"), QStringLiteral("CD_IDENTIFICACAO_TEXTO"),
                   QRectF(420, 5 + kLinha, w - 420, kLinha), corpo);
        det->Rotulo(QStringLiteral("lblIdentificacao"), QStringLiteral("Identificação do Texto :"),
                    QRectF(0, 5 + 2 * kLinha, 420, kLinha), rotulo);
        det->Campo(QStringLiteral("qrdIdentificacao"), QStringLiteral("DE_CLAUSULA_OPERADORA"),
                   QRectF(420, 5 + 2 * kLinha, w - 420, kLinha), corpo);
        det->Rotulo(QStringLiteral("lblTexto"), QStringLiteral("Texto do Dispositivo :"),
                    QRectF(0, 5 + 3 * kLinha, 420, kLinha), rotulo);
        det->Campo(QStringLiteral("qrdTexto"), QStringLiteral("TX_CLAUSULA_OPERADORA"),
                   QRectF(420, 5 + 3 * kLinha, w - 420, kLinha), corpo, Qt::AlignLeft | Qt::AlignTop)
            ->cresce = true;
        det->AntesImprimir = [this](Banda& b) {
            const QVariant nome = Valor(QStringLiteral("DE_TIPO_CLAUSULA"));
            b.Item(QStringLiteral("qrdTema"))->texto =
                Vazio(nome) ? QString()
                            : TqrpDispContratuais::RotuloTema(Valor(QStringLiteral("NR_ORDEM_EXIBICAO")), nome);
            b.Item(QStringLiteral("lblInativo"))->visivel = !Vazio(Valor(QStringLiteral("DT_PUBLICACAO_FIM")));
            return true;
        };
    }
    if (opcoes.notasTecnicas) {
        secao(QStringLiteral("Notas Técnicas"), abertos.notas,
              consulta(QStringLiteral(
                  "SELECT NR_PROTOCOLO_NOTA_TECNICA, NM_ARQUIVO_NOTA_TECNICA, DT_PROTOCOLO "
                  "FROM RL_PLANO_NOTA_TECNICA WHERE CD_OPER = ? AND SEQ_PLANO = ? "
                  "ORDER BY ID_PLANO_NOTA_TECNICA")),
              det, 3 * kLinha + 15);
        const struct {
            const char* rotulo;
            const char* campo;
        } campos[] = {{"Protocolo de Incorporação :", "NR_PROTOCOLO_NOTA_TECNICA"},
                      {"Nome do Arquivo :", "NM_ARQUIVO_NOTA_TECNICA"},
                      {"Data do Protocolo :", "DT_PROTOCOLO"}};
        for (int i = 0; i < 3; ++i) {
            const qreal y = 5 + i * kLinha;
            det->Rotulo(QStringLiteral("lbl") + QString::fromLatin1(campos[i].campo),
                        QString::fromUtf8(campos[i].rotulo), QRectF(0, y, 480, kLinha), rotulo);
            Elemento* e = det->Campo(QString::fromLatin1(campos[i].campo), QString::fromLatin1(campos[i].campo),
                                     QRectF(480, y, w - 480, kLinha), corpo);
            if (i == 2) e->formato = [](const QVariant& v) { return UtilRelatorios::Data(v); };
        }
    }
    if (opcoes.areaAtuacao) {
        // States for coverage 2 or 3; municipalities for any other.
        secao(QStringLiteral("Área de atuação"), abertos.area,
              [this, &banco, cdOper]() -> std::unique_ptr<FonteDados> {
                  const int abrangencia = Valor(QStringLiteral("CD_ABRANGENCIA")).toInt();
                  const bool estados = abrangencia == 2 || abrangencia == 3;
                  return std::make_unique<FonteConsulta>(
                      banco,
                      estados ? QStringLiteral(
                                    "SELECT U.CD_UF, U.NM_UF AS NOME FROM RL_PLANOS_UF R "
                                    "INNER JOIN TB_UFS U ON U.CD_UF = R.CD_UF "
                                    "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ? ORDER BY U.CD_UF")
                              : QStringLiteral(
                                    "SELECT M.CD_UF, M.NM_MUNC AS NOME FROM RL_PLANOS_MUNICIPIO R "
                                    "INNER JOIN TB_MUNICIPIOS M ON M.ID_MUNC = R.ID_MUNC "
                                    "WHERE R.CD_OPER = ? AND R.SEQ_PLANO = ? "
                                    "ORDER BY M.CD_UF, M.NM_MUNC COLLATE PTBR"),
                      ParamsPosicionais{cdOper, Valor(QStringLiteral("SEQ_PLANO"))});
              },
              det, kLinha);
        det->Rotulo(QStringLiteral("qrdArea"), QString(), QRectF(40, 0, w - 40, kLinha), corpo);
        det->AntesImprimir = [this](Banda& b) {
            b.Item(QStringLiteral("qrdArea"))->texto = Valor(QStringLiteral("CD_UF")).toString() +
                                                       QLatin1Char('-') + Valor(QStringLiteral("NOME")).toString();
            return true;
        };
    }

    QString sql = QStringLiteral(
        "SELECT P.*, TC.DE_TIPO_CONTRATO, TA.DE_ABRANGENCIA, TS.DE_SEGMENTACAO FROM TB_PLANOS P "
        "LEFT JOIN TA_TIPO_CONTRATO TC ON TC.CD_TIPO_CONTRATO = P.CD_TIPO_CONTRATO "
        "LEFT JOIN TA_TIPO_ABRANGENCIA TA ON TA.CD_ABRANGENCIA = P.CD_ABRANGENCIA "
        "LEFT JOIN TA_TIPO_SEGMENTACAO TS ON TS.CD_SEGMENTACAO = P.CD_SEGMENTACAO "
        "WHERE P.CD_OPER = ?");
    ParamsPosicionais params{cdOper};
    if (seqPlano) {
        sql += QStringLiteral(" AND P.SEQ_PLANO = ?");
        params << *seqPlano;
    }
    sql += QStringLiteral(" ORDER BY P.NM_PLANO COLLATE PTBR, P.SEQ_PLANO");
    DefineFonte(std::make_unique<FonteConsulta>(banco, sql, params));
}

// ---------------------------------------------------------------------------

TfrmDlgRelatorioPlanos::TfrmDlgRelatorioPlanos(const std::optional<int>& seqPlano,
                                               DadosPlanoAbertos abertos, QWidget* pai)
    : TfrmModDialogo(pai), m_seqPlano(seqPlano), m_abertos(std::move(abertos)) {
    setObjectName(QStringLiteral("frmDlgRelatorioPlanos"));
    setWindowTitle(QStringLiteral("Relatório de Planos"));
    auto* raiz = new QVBoxLayout(Conteudo());
    auto* linhaPlano = new QHBoxLayout;
    linhaPlano->addWidget(new QLabel(QStringLiteral("Plano:"), Conteudo()));
    lblPlano = new QLabel(Conteudo());
    lblPlano->setObjectName(QStringLiteral("lblPlano"));
    QFont negrito = lblPlano->font();
    negrito.setBold(true);
    lblPlano->setFont(negrito);
    linhaPlano->addWidget(lblPlano, 1);
    raiz->addLayout(linhaPlano);
    QString nome = QStringLiteral("TODOS");
    if (seqPlano)
        nome = DmConexao()
                   ->banco()
                   .valor(QStringLiteral("SELECT NM_PLANO FROM TB_PLANOS WHERE SEQ_PLANO = ?"), {*seqPlano})
                   .toString();
    lblPlano->setText(nome);

    auto* opcoes = new QGroupBox(QStringLiteral("Opções de impressão:"), Conteudo());
    auto* go = new QGridLayout(opcoes);
    const auto caixa = [&](const QString& nomeObjeto, const QString& texto, int linha, int coluna) {
        auto* c = new QCheckBox(texto, opcoes);
        c->setObjectName(nomeObjeto);
        c->setChecked(true);
        go->addWidget(c, linha, coluna);
        return c;
    };
    chkLivreEscolha = caixa(QStringLiteral("chkLivreEscolha"), QStringLiteral("Livre Escolha"), 0, 0);
    chkInstrumentoJuridico =
        caixa(QStringLiteral("chkInstrumentoJuridico"), QStringLiteral("Instrumento Jurídico"), 0, 1);
    chkNotasTecnicas = caixa(QStringLiteral("chkNotasTecnicas"), QStringLiteral("Notas Técnicas"), 1, 0);
    chkAreaAtuacao = caixa(QStringLiteral("chkAreaAtuacao"), QStringLiteral("Área de atuação"), 1, 1);
    chkServicosAdicionais = caixa(QStringLiteral("chkServicosAdicionais"),
                                  QStringLiteral("Serviços e coberturas adicionais"), 2, 0);
    chkTaxaRegistro = caixa(QStringLiteral("chkTaxaRegistro"), QStringLiteral("Taxa de Registro"), 2, 1);
    raiz->addWidget(opcoes);

    auto* destino = new QGroupBox(QStringLiteral(" Destino do relatório"), Conteudo());
    auto* gd = new QHBoxLayout(destino);
    rbVideo = new QRadioButton(QStringLiteral("vídeo"), destino);
    rbVideo->setObjectName(QStringLiteral("rbVideo"));
    rbVideo->setChecked(true);
    rbImpressora = new QRadioButton(QStringLiteral("impressora"), destino);
    rbImpressora->setObjectName(QStringLiteral("rbImpressora"));
    gd->addWidget(rbVideo);
    gd->addWidget(rbImpressora);
    gd->addStretch(1);
    raiz->addWidget(destino);
}

OpcoesRelatorioPlanos TfrmDlgRelatorioPlanos::Opcoes() const {
    OpcoesRelatorioPlanos o;
    o.livreEscolha = chkLivreEscolha->isChecked();
    o.instrumentoJuridico = chkInstrumentoJuridico->isChecked();
    o.notasTecnicas = chkNotasTecnicas->isChecked();
    o.areaAtuacao = chkAreaAtuacao->isChecked();
    o.servicosAdicionais = chkServicosAdicionais->isChecked();
    o.taxaRegistro = chkTaxaRegistro->isChecked();
    return o;
}

void TfrmDlgRelatorioPlanos::ConfirmarClick() {
    TqrpPlanos relatorio(DmConexao()->banco(), OperadoraAtual().CdOper, m_seqPlano, Opcoes(), m_abertos);
    if (rbImpressora->isChecked()) ImprimeRelatorio(relatorio);
    else ExibeRelatorio(relatorio, this);
    accept();
}

void AbreRelatorioPlanos(QWidget* pai) {
    TfrmDlgRelatorioPlanos dialogo(std::nullopt, {}, pai);
    Modal::executa(dialogo);
}

void AbreRelatorioPlano(QWidget* pai, int seqPlano, const DadosPlanoAbertos& abertos) {
    TfrmDlgRelatorioPlanos dialogo(seqPlano, abertos, pai);
    Modal::executa(dialogo);
}
