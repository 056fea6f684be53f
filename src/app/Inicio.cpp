#include "app/Inicio.h"

#include <QApplication>
#include <QProgressBar>

#include "app/FrmApresentacao.h"
#include "app/FrmPrincipal.h"
#include "db/Erro.h"
#include "common/FrmMyMessageDlg.h"
#include "common/MensagemDlg.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/DmMunicipio.h"
#include "operator/DmZemlo.h"
#include "devices/DmClausula.h"
#include "network/DmHospital.h"
#include "operator/DmOperadora.h"
#include "plans/DmInfoPlano.h"
#include "plans/DmPlano.h"
#include "request/DmExportacao.h"
#include "platform/Plataforma.h"
#include "rules/ReavaliaPlanos.h"

namespace Inicio {

Modulos::~Modulos() {
    for (auto it = m_criados.rbegin(); it != m_criados.rend(); ++it) delete *it;
}

void Modulos::abreBanco(const std::function<void(int)>& progresso) {
    // An installed program keeps its database in the user's data folder, made from the
    // delivered one at the first start.
    PastaPrograma::PreparaPastaDados();
    auto* conexao = new TDmConexao;
    m_criados.push_back(conexao);
    conexao->DefineBarraProgresso(progresso);
    conexao->AbreBanco();
}

void Modulos::criaModulos(const std::function<void(int)>& progresso) {
    progresso(88);
    m_criados.push_back(new TDMZemlo);
    m_criados.push_back(new TdmLookup);
    m_criados.push_back(new TDmPlano);
    progresso(92);
    m_criados.push_back(new TDmExportacao);
    m_criados.push_back(new TDmHospital);
    m_criados.push_back(new TDmMunicipio);
    auto* infoPlano = new TdmInfoPlano;
    m_criados.push_back(infoPlano);
    progresso(96);
    m_criados.push_back(new TdmClausula);
    auto* operadora = new TdmOperadora;
    m_criados.push_back(operadora);
    // the plan module's device lists follow the operator that becomes current
    QObject::connect(operadora, &TdmOperadora::operadoraSelecionada, infoPlano,
                     &TdmInfoPlano::FiltraDispositivosOperadora);
    InstalaReavaliacaoPlanos();
}

void Modulos::recriaModulos() {
    while (m_criados.size() > 1) {
        delete m_criados.back();
        m_criados.pop_back();
    }
    criaModulos([](int) {});
}

int executa(QApplication& app) {
    InstalaTratadorGrafico();
    auto* splash = new TfrmApresentacao;
    splash->show();
    splash->repaint();
    QCoreApplication::processEvents();
    const auto progresso = [splash](int v) { splash->DefineProgresso(v); };

    Modulos modulos;
    std::unique_ptr<TfrmPrincipal> principal;
    try {
        modulos.abreBanco(progresso);
        modulos.criaModulos(progresso);
        principal = std::make_unique<TfrmPrincipal>();
    } catch (const ErroQev& e) {
        delete splash;
        MostraErroSimples(e.mensagem());
        return 1;
    }
    if (principal->DeveFinalizar()) {
        delete splash;
        return 0;
    }
    // Giving up the first operator's registration ends the program.
    QObject::connect(principal.get(), &TfrmPrincipal::finalizacaoPedida, &app,
                     &QCoreApplication::quit, Qt::QueuedConnection);
    principal->DefineRecargaModulos([&modulos] { modulos.recriaModulos(); });
    progresso(100);
    principal->showMaximized();
    splash->raise();
    return app.exec();
}

}  // namespace Inicio
