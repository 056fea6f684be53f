// The establishment screen walked through seeded random sequences of what a user does
// (previous and next, add, edit, the name, urgency and availability, save, cancel), with
// the screen's invariants checked after every step: the actions the template's rules give
// for the mode, a second idle pass that changes nothing, and after every save or cancel
// the record shown equal to the database. A failing walk prints its seed and its steps.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ApoioRede.h"
#include "apoio/Passeio.h"
#include "db/RowSet.h"
#include "network/FrmCadHosp.h"

using namespace ApoioRede;

namespace {

class PasseioEstab : public Base, public Apoio::Passeio {
protected:
    std::unique_ptr<TfrmCadHosp> tela;

    void TearDown() override {
        tela.reset();
        Base::TearDown();
    }
    RowSet& rs() { return *dm->cdsHospital(); }
    bool editando() { return rs().EmEdicao(); }
    void dispara(QAction* a) {
        tela->AtualizaAcoes();
        if (a->isEnabled()) a->trigger();
    }

    void passo() {
        if (!editando()) {
            switch (sorteia(4)) {
                case 0:
                    passos << QStringLiteral("anterior");
                    dispara(tela->actAnterior);
                    break;
                case 1:
                    passos << QStringLiteral("próximo");
                    dispara(tela->actProximo);
                    break;
                case 2:
                    passos << QStringLiteral("incluir");
                    dispara(tela->actAdicionar);
                    break;
                default:
                    passos << QStringLiteral("editar");
                    dispara(tela->actAlterar);
                    break;
            }
            return;
        }
        switch (sorteia(6)) {
            case 0:
                passos << QStringLiteral("nome");
                tela->edRazao->setFocus();
                tela->edRazao->selectAll();
                QTest::keyClicks(tela->edRazao, QStringLiteral("Hospital %1").arg(sorteia(1000)));
                break;
            case 1:
                passos << QStringLiteral("urgência");
                if (tela->chkUrgencia->isEnabled()) tela->chkUrgencia->click();
                break;
            case 2: {
                passos << QStringLiteral("disponibilidade");
                const int i = sorteia(tela->cmbDispServicos->count());
                tela->cmbDispServicos->setCurrentIndex(i);
                emit tela->cmbDispServicos->activated(i);
                break;
            }
            case 3:
            case 4:
                passos << QStringLiteral("confirmar");
                QTest::mouseClick(tela->btnConfirmar(), Qt::LeftButton);
                if (!editando()) confereBanco();
                break;
            default:
                passos << QStringLiteral("cancelar");
                dispara(tela->actCancelar);
                confereBanco();
                break;
        }
    }

    void confereAcoes() {
        const bool edicao = editando();
        tela->AtualizaAcoes();
        if (tela->AtualizaAcoes() != 0) falhou(QStringLiteral("um segundo passe ocioso mudou algo"));
        espera("Incluir", tela->actAdicionar->isEnabled(), !edicao);
        espera("Anterior", tela->actAnterior->isEnabled(), !edicao);
        espera("Próximo", tela->actProximo->isEnabled(), !edicao);
        espera("Sair", tela->actSair->isEnabled(), !edicao);
        espera("Confirmar", tela->btnConfirmar()->isEnabled(), edicao);
        espera("Cancelar", tela->btnCancelar()->isEnabled(), edicao);
        espera("dados", tela->pnlDados()->isEnabled(), edicao);
    }

    // The record shown is the database's, with nothing pending.
    void confereBanco() {
        if (!falha.isEmpty() || rs().IsEmpty()) return;
        if (rs().ChangeCount() != 0) {
            falha = QStringLiteral("alterações pendentes depois de gravar ou cancelar");
            return;
        }
        const qlonglong id = dm->IdAtual();
        const Resultado r = banco().consulta(
            QStringLiteral("SELECT RAZAO_SOCIAL_ESTB_SAUD, LG_URGENCIA_EMERGENCIA, CD_DISP_SERVICO FROM "
                           "TB_ESTAB_SAUDE WHERE ID_ESTB_SAUD = ?"),
            {id});
        if (r.vazio()) {
            falha = QStringLiteral("o estabelecimento %1 da tela não está no banco").arg(id);
            return;
        }
        for (int c = 0; c < r.colunas.size(); ++c) {
            const QString naTela = rs().Valor(r.colunas[c]).toString(), noBanco = r.linhas[0][c].toString();
            if (naTela != noBanco) {
                falha = QStringLiteral("%1: '%2' na tela, '%3' no banco").arg(r.colunas[c], naTela, noBanco);
                return;
            }
        }
        if (tela->edRazao->text() != r.linhas[0][0].toString())
            falha = QStringLiteral("a caixa do nome mostra '%1'").arg(tela->edRazao->text());
    }
};

TEST_F(PasseioEstab, RandomWalksKeepTheScreenTrueToTheModeAndTheDatabase) {
    const Medidas m = medidas(100, 2);
    for (quint32 s = m.primeira; s < m.primeira + quint32(m.sementes); ++s) {
        SCOPED_TRACE(s);
        tela.reset();
        TearDown();
        QFile::remove(pasta.arquivo(QStringLiteral("QEV.mdb")));
        mensagens.limpa();
        inicia(estab(3, kCnes, kCnpj, "Hospital Três") + estab(8, "", kOutroCnpj, "Clínica Oito", 2) +
               estab(41, "", kCpf, "Consultório", 3));
        tela = std::make_unique<TfrmCadHosp>();
        tela->show();
        QApplication::setActiveWindow(tela.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(tela.get()));
        comeca(s);
        for (int i = 0; i < m.passos && ok(); ++i) {
            try {
                passo();
            } catch (const std::exception& e) {
                falha = QStringLiteral("exceção: ") + QString::fromUtf8(e.what());
            }
            QApplication::processEvents();
            confereAcoes();
        }
        relata();
    }
}

}  // namespace
