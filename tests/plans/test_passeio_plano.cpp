// The plan screen walked through seeded random sequences of what a user does (add,
// cancel, previous and next, edit, every choice of "Dados gerais", area moves, links,
// tax rows, save), with the screen's invariants checked after every step:
// - every control's enabled state is what the rules give for the plan shown and the mode;
// - a second idle pass changes nothing;
// - an unchanged plan saves and stores the same choices;
// - what is stored keeps the area rows to its coverage and the urgency rule to its
//   segmentation; the plans read equal the database after every save or cancel.
// A failing walk prints its seed and its steps. QEV_PASSEIO_PASSOS and
// QEV_PASSEIO_SEMENTES (scripts/passeios.sh) make the walks longer.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include "ApoioPlanos.h"
#include "apoio/Passeio.h"
#include "plans/FrmCadPlano.h"
#include "plans/TaxasTemporarias.h"

using namespace ApoioPlanos;
using Aba = TEdicaoPlano::Aba;

namespace {

// The plans: pre-established state plan with two hospitals (one without urgency care),
// post-established municipal plan, individual national plan, odontological mixed plan.
QString fixtura() {
    const auto hospital = [](int id, const char* urgencia, qlonglong municipio) {
        return hospitalSp(id) + QStringLiteral("UPDATE TB_ESTAB_SAUDE SET LG_URGENCIA_EMERGENCIA = '%1', "
                                               "ID_MUNC = %2 WHERE ID_ESTB_SAUD = %3;")
                                    .arg(QLatin1String(urgencia))
                                    .arg(municipio)
                                    .arg(id);
    };
    return plano(1, "PRÉ ESTADUAL", 3, 2) + relacao("RL_PLANOS_UF", "CD_UF", 1, QStringLiteral("'SP'")) +
           plano(2, "PÓS MUNICIPAL", 5, 2) +
           QStringLiteral("UPDATE TB_PLANOS SET CD_TIPO_FINANC = 2, CD_OPCAO_POS_ESTABELECIDO = 'R', "
                          "LG_FM_COPARTICIPACAO = 'S' WHERE SEQ_PLANO = 2;") +
           relacao("RL_PLANOS_MUNICIPIO", "ID_MUNC", 2, QStringLiteral("3550308")) +
           plano(3, "INDIVIDUAL", 1, 5) +
           QStringLiteral("UPDATE TB_PLANOS SET CD_TIPO_CONTRATO = 1, LG_VB_VINCULO_ATIVO = 'N' "
                          "WHERE SEQ_PLANO = 3;") +
           plano(4, "ODONTO MISTO", 3, 4) +
           QStringLiteral("UPDATE TB_PLANOS SET CD_TIPO_FINANC = 3, CD_PADRAO_ACOMODACAO = NULL "
                          "WHERE SEQ_PLANO = 4;") +
           relacao("RL_PLANOS_UF", "CD_UF", 4, QStringLiteral("'RJ'")) + hospital(10, "S", 3550308) +
           hospital(11, "N", 3550308) + hospital(12, "S", 3509502) + hospital(13, "S", 3304557) +
           vinculo(1, 10) + vinculo(1, 11) + vinculo(2, 10) + taxa(1, 5, kTaxa1) + taxa(2, 6, kTaxa2);
}

// Whether a widget's own state is enabled (whatever its parents say).
bool proprio(const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }

class PasseioPlano : public BaseTela, public Apoio::Passeio {
public:
    RowSet& planos() { return *dm->cdsPlano(); }
    void mostra(Aba aba) { tela->pgcInfoPlano->setCurrentWidget(tela->Pagina(aba)); }
    bool editando() { return planos().EmEdicao(); }

    void escolheAlgum(QComboBox* c) {
        if (c->count() == 0) return;
        const int i = sorteia(c->count());
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    void clica(QAbstractButton* b) {
        if (b->isEnabled() && b->isVisible()) b->click();
    }
    void dispara(QAction* a) {
        tela->AtualizaAcoes();
        if (a->isEnabled()) a->trigger();
    }
    void grava() { QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton); }
    QString linhaNoBanco(qlonglong seq) {
        static const char* const kColunas =
            "NM_PLANO, CD_TIPO_CONTRATO, CD_ABRANGENCIA, CD_SEGMENTACAO, CD_TIPO_FINANC, "
            "CD_OPCAO_POS_ESTABELECIDO, CD_PADRAO_ACOMODACAO, LG_FM_COPARTICIPACAO, LG_FM_FRANQUIA, "
            "LG_VB_VINCULO_ATIVO, LG_VB_VINCULO_INATIVO, LG_VB_SEM_VINCULO, LG_TOTAL_LIVRE_ESCOLHA";
        const Resultado r = banco().consulta(
            QStringLiteral("SELECT %1, (SELECT count(*) FROM RL_PLANOS_UF U WHERE U.SEQ_PLANO = P.SEQ_PLANO), "
                           "(SELECT count(*) FROM RL_PLANOS_MUNICIPIO M WHERE M.SEQ_PLANO = P.SEQ_PLANO), "
                           "(SELECT count(*) FROM RL_PLANOS_ESTAB_SAUDE R WHERE R.SEQ_PLANO = P.SEQ_PLANO) "
                           "FROM TB_PLANOS P WHERE SEQ_PLANO = ?")
                .arg(QLatin1String(kColunas)),
            {seq});
        QStringList v;
        for (const QVariant& x : r.linhas.value(0)) v << x.toString();
        return v.join(QLatin1Char('|'));
    }

    // --- what a user does ----------------------------------------------------------------
    void passo() {
        const bool edicao = editando();
        if (!edicao) {
            switch (sorteia(6)) {
                case 0:
                    passos << QStringLiteral("incluir");
                    dispara(tela->actAdicionar);
                    break;
                case 1:
                    passos << QStringLiteral("anterior");
                    dispara(tela->actAnterior);
                    break;
                case 2:
                    passos << QStringLiteral("próximo");
                    dispara(tela->actProximo);
                    break;
                case 3: {
                    // an unchanged plan saves and keeps its choices
                    const qlonglong seq = dm->SeqPlanoAtual();
                    const QString antes = linhaNoBanco(seq);
                    passos << QStringLiteral("editar e confirmar sem mudar o plano %1").arg(seq);
                    dispara(tela->actAlterar);
                    if (!editando()) break;
                    grava();
                    if (editando())
                        falha = QStringLiteral("o plano inalterado não foi gravado: ") + mensagens.textos().join('|');
                    else if (linhaNoBanco(seq) != antes)
                        falha = QStringLiteral("o plano inalterado mudou:\n  antes  %1\n  depois %2")
                                    .arg(antes, linhaNoBanco(seq));
                    break;
                }
                default:
                    passos << QStringLiteral("editar");
                    dispara(tela->actAlterar);
                    break;
            }
            return;
        }
        switch (sorteia(22)) {
            case 0:
                passos << QStringLiteral("nome");
                tela->dbedtNome->selectAll();
                QTest::keyClicks(tela->dbedtNome, sorteia(8) ? QStringLiteral("PLANO %1").arg(sorteia(100))
                                                             : QStringLiteral(" "));
                break;
            case 1:
                passos << QStringLiteral("contratação");
                escolheAlgum(tela->dblkpContraracao);
                break;
            case 2:
                passos << QStringLiteral("abrangência");
                escolheAlgum(tela->dblkpAbrangencia);
                break;
            case 3:
            case 4:
                passos << QStringLiteral("segmentação");
                escolheAlgum(tela->dblkpSegmentacao);
                break;
            case 5: {
                QRadioButton* b[] = {tela->rbtPreEstabelecido, tela->rbtPosEstabelecido, tela->rbtMisto};
                const int i = sorteia(3);
                passos << QStringLiteral("preço %1").arg(i + 1);
                clica(b[i]);
                break;
            }
            case 6:
                passos << QStringLiteral("opção pós");
                clica(sorteia(2) ? tela->rbtRateio : tela->rbtCustoOperacional);
                break;
            case 7: {
                QCheckBox* b[] = {tela->chkVinculoAtivo, tela->chkVinculoInativo, tela->chkSemVinculo};
                const int i = sorteia(3);
                passos << QStringLiteral("vínculo %1").arg(i);
                clica(b[i]);
                break;
            }
            case 8:
                passos << QStringLiteral("acomodação");
                clica(sorteia(2) ? tela->rbtIndividual : tela->rbtColetiva);
                break;
            case 9:
                passos << QStringLiteral("fator moderador");
                clica(sorteia(2) ? tela->chkCoparticipacao : tela->chkFranquia);
                break;
            case 10:
                passos << QStringLiteral("livre escolha");
                clica(sorteia(4) ? tela->rbtLivreNao : tela->rbtLivreSim);
                break;
            case 11: {
                const int i = sorteia(4);
                passos << QStringLiteral("área %1").arg(i);
                mostra(Aba::AreaAtuacao);
                QAction* a[] = {tela->actIncluiTodasUF, tela->actRetiraTodasUF, tela->actIncluiTodosMunicipios,
                                tela->actRetiraTodosMunicipios};
                if (i == 2) {
                    tela->edtPesqMunicipio->setText(QStringLiteral("SAO"));
                    QApplication::processEvents();
                }
                dispara(a[i]);
                break;
            }
            case 12: {
                const int i = sorteia(3);
                passos << QStringLiteral("rede %1").arg(i);
                mostra(Aba::Rede);
                QAction* a[] = {tela->actRedeVincTodos, tela->actRedeDesvUm, tela->actRedeDesvTodos};
                dispara(a[i]);
                break;
            }
            case 13: {
                const bool valida = sorteia(3) != 0;
                passos << QStringLiteral("taxa %1").arg(valida ? QStringLiteral("válida") : QStringLiteral("inválida"));
                mostra(Aba::Taxa);
                dispara(tela->actIncTaxaRegistro);
                if (auto* e = qobject_cast<QLineEdit*>(QApplication::focusWidget())) {
                    QTest::keyClicks(e, valida ? QString::fromLatin1(sorteia(2) ? kTaxa1 : kTaxa2)
                                               : QStringLiteral("12345"));
                    QTest::keyClick(e, sorteia(2) ? Qt::Key_Return : Qt::Key_Up);
                }
                break;
            }
            case 14:
                passos << QStringLiteral("excluir taxa");
                mostra(Aba::Taxa);
                dispara(tela->actDelTaxaRegistro);
                break;
            case 15: {
                const int i = sorteia(TEdicaoPlano::kAbas);
                passos << QStringLiteral("aba %1").arg(i);
                mostra(Aba(i));
                break;
            }
            case 16:
            case 17:
            case 18:
                passos << QStringLiteral("confirmar");
                mensagens.responde({sorteia(4) ? Mensagens::RespSim : Mensagens::RespNao});
                grava();
                if (!editando()) confereGravado();
                break;
            default:
                passos << QStringLiteral("cancelar");
                dispara(tela->actCancelar);
                if (!editando()) confereGravado();
                break;
        }
    }

    // --- invariants --------------------------------------------------------------------------
    void confereHabilitacao() {
        const bool edicao = editando();
        tela->AtualizaAcoes();
        if (tela->AtualizaAcoes() != 0) falhou(QStringLiteral("um segundo passe ocioso mudou algo"));
        espera("Incluir", tela->actAdicionar->isEnabled(), !edicao);
        espera("Editar", tela->actAlterar->isEnabled(), !edicao && !planos().IsEmpty());
        espera("Confirmar", tela->btnConfirmar()->isEnabled(), edicao);
        espera("cabeçalho", tela->grpPlano->isEnabled(), edicao);
        espera("Dados gerais", tela->tbsDadosGerais->isEnabled(), edicao);
        // the page on screen is built, and a built page shows what the plan has now
        for (int i = 0; i < TEdicaoPlano::kAbas; ++i)
            if (tela->pgcInfoPlano->currentWidget() == tela->Pagina(Aba(i)))
                espera("página mostrada montada", tela->PaginaMontada(Aba(i)), true);
        if (tela->pnlQtEstabVinc) {
            const QString n = QLocale(QLocale::Portuguese, QLocale::Brazil).toString(dm->cdsPlanoRede()->RecordCount());
            espera("contagem dos vinculados", tela->pnlQtEstabVinc->text().startsWith(n + QLatin1Char(' ')), true);
        }
        if (tela->dbgTaxaRegistro)
            espera("taxas na grade", tela->dbgTaxaRegistro->model()->rowCount() ==
                                         tela->edicao()->taxas()->cdsTmpTaxaRegistro()->RecordCount(), true);
        if (planos().IsEmpty()) return;
        const auto inteiro = [&](const char* c) { return planos().Valor(QString::fromLatin1(c)).toInt(); };
        const int contrato = inteiro("CD_TIPO_CONTRATO");
        const int seg = inteiro("CD_SEGMENTACAO");
        const bool pre = tela->rbtPreEstabelecido->isChecked(), pos = tela->rbtPosEstabelecido->isChecked(),
                   misto = tela->rbtMisto->isChecked();
        espera("Pós-Estabelecido", proprio(tela->rbtPosEstabelecido), contrato != 1);
        espera("Misto", proprio(tela->rbtMisto), seg == 4);
        espera("vínculo ativo", proprio(tela->chkVinculoAtivo), contrato != 1 && contrato != 3);
        espera("vínculo inativo", proprio(tela->chkVinculoInativo), contrato != 1 && contrato != 3);
        espera("sem vínculo", proprio(tela->chkSemVinculo), contrato != 1 && contrato != 2);
        espera("Opção Pós-Estabelecido", proprio(tela->grpOpcaoPosEstab), pos);
        espera("Co-participação", proprio(tela->chkCoparticipacao), pre || pos);
        espera("Franquia", proprio(tela->chkFranquia), pre || pos);
        espera("acomodação", proprio(tela->grpPadraoAcomodacao), seg != 1 && seg != 4 && seg != 8 && !misto);
        espera("Individual", proprio(tela->rbtIndividual), seg != 5);
    }

    // After a save or a cancel: the plans read equal the database, and what is stored keeps
    // its rules.
    void confereGravado() {
        if (!falha.isEmpty()) return;
        RowSet novo;
        novo.Abre(banco(), planos().Sql(), planos().Parametros());
        if (novo.RecordCount() != planos().RecordCount()) {
            falha = QStringLiteral("a tela tem %1 planos, o banco %2").arg(planos().RecordCount()).arg(novo.RecordCount());
            return;
        }
        for (int p = 0; p < novo.RecordCount() && falha.isEmpty(); ++p)
            for (int c = 0; c < novo.Campos().size(); ++c) {
                if (!novo.Campos()[c].ehDado()) continue;
                const QString nome = novo.Campos()[c].nome;
                const int ct = planos().IndiceCampo(nome);
                const QVariant a = planos().ValorNaPosicao(p, ct), b = novo.ValorNaPosicao(p, c);
                if (a.toString() != b.toString()) {
                    falha = QStringLiteral("plano na posição %1: %2 é '%3' na tela e '%4' no banco")
                                .arg(p)
                                .arg(nome, a.toString(), b.toString());
                    break;
                }
            }
        const auto viola = [&](const char* regra, const QString& sql) {
            const QStringList planosViolam = Apoio::coluna(banco(), sql);
            if (falha.isEmpty() && !planosViolam.isEmpty())
                falha = QStringLiteral("%1: planos %2").arg(QString::fromUtf8(regra), planosViolam.join(','));
        };
        viola("UFs fora da abrangência",
              QStringLiteral("SELECT DISTINCT P.SEQ_PLANO FROM TB_PLANOS P JOIN RL_PLANOS_UF U ON U.SEQ_PLANO = "
                             "P.SEQ_PLANO WHERE P.CD_ABRANGENCIA NOT IN (2, 3)"));
        viola("municípios fora da abrangência",
              QStringLiteral("SELECT DISTINCT P.SEQ_PLANO FROM TB_PLANOS P JOIN RL_PLANOS_MUNICIPIO M ON "
                             "M.SEQ_PLANO = P.SEQ_PLANO WHERE P.CD_ABRANGENCIA NOT IN (4, 5)"));
        viola("vínculo sem urgência em plano ambulatorial",
              QStringLiteral("SELECT DISTINCT P.SEQ_PLANO FROM TB_PLANOS P JOIN RL_PLANOS_ESTAB_SAUDE R ON "
                             "R.SEQ_PLANO = P.SEQ_PLANO JOIN TB_ESTAB_SAUDE E ON E.ID_ESTB_SAUD = R.ID_ESTB_SAUD "
                             "WHERE P.CD_SEGMENTACAO IN (1, 8) AND E.LG_URGENCIA_EMERGENCIA <> 'S'"));
        viola("rede em plano odontológico ou de livre escolha",
              QStringLiteral("SELECT DISTINCT P.SEQ_PLANO FROM TB_PLANOS P JOIN RL_PLANOS_ESTAB_SAUDE R ON "
                             "R.SEQ_PLANO = P.SEQ_PLANO WHERE P.CD_SEGMENTACAO = 4 OR P.LG_TOTAL_LIVRE_ESCOLHA = 'S'"));
        viola("opção pós-estabelecido que não segue a formação do preço",
              QStringLiteral("SELECT SEQ_PLANO FROM TB_PLANOS WHERE (CD_TIPO_FINANC = 2) <> "
                             "(COALESCE(CD_OPCAO_POS_ESTABELECIDO, '') <> '')"));
        viola("acomodação que a segmentação não admite",
              QStringLiteral("SELECT SEQ_PLANO FROM TB_PLANOS WHERE (CD_SEGMENTACAO IN (1, 4, 8) AND "
                             "CD_PADRAO_ACOMODACAO IS NOT NULL) OR (CD_SEGMENTACAO = 5 AND "
                             "COALESCE(CD_PADRAO_ACOMODACAO, '') <> 'C')"));
    }

    void anda(quint32 semente, int quantos) {
        comeca(semente);
        for (int i = 0; i < quantos && falha.isEmpty(); ++i) {
            try {
                passo();
            } catch (const std::exception& e) {
                falha = QStringLiteral("exceção: ") + QString::fromUtf8(e.what());
            }
            QApplication::processEvents();
            if (!tela->isVisible()) {
                falha = QStringLiteral("a tela fechou: ") + mensagens.textos().join('|');
                break;
            }
            confereHabilitacao();
        }
        relata();
    }
};

TEST_F(PasseioPlano, RandomWalksKeepTheScreenTrueToThePlanShownAndTheDatabase) {
    const Medidas m = medidas(120, 3);
    for (quint32 s = m.primeira; s < m.primeira + quint32(m.sementes); ++s) {
        SCOPED_TRACE(s);
        tela.reset();
        TearDown();
        QFile::remove(pasta.arquivo(QStringLiteral("QEV.mdb")));
        mensagens.limpa();
        inicia(fixtura());
        abre();
        anda(s, m.passos);
    }
}

}  // namespace
