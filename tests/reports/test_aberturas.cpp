// Where the reports are opened from: the main window's report entries and the
// buttons of the establishment and plan screens.
#include <QAction>
#include <QLabel>

#include "ApoioRelatorios.h"
#include "app/FrmPrincipal.h"
#include "app/ProgramaTeste.h"
#include "network/FrmCadHosp.h"
#include "plans/FrmCadPlano.h"
#include "reports/QrpPlanos.h"

using namespace ApoioRelatorios;

TEST(AberturasRelatorios, MainWindowReportEntriesAreEnabledAndOpenTheirScreens) {
    Apoio::PastaTeste pasta;
    Apoio::Mensageiro mensagens;
    {
        Apoio::ProgramaTeste programa;
        programa.inicia(pasta,
                        QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, "
                                    "CD_GRUPO_CLASSIFICACAO) VALUES ('123455', '11222333000181', 'OPERADORA', 22);"
                                    "INSERT INTO TB_PLANOS (CD_OPER, SEQ_PLANO, NM_PLANO, CD_ABRANGENCIA, CD_SEGMENTACAO, "
                                    "CD_TIPO_CONTRATO) VALUES ('123455', 7, 'PLANO IMPRESSO', 1, 2, 1);"));
        TfrmPrincipal w;
        const QList<QPair<const char*, const char*>> entradas{
            {"actRelacaoEstabSaude", "Relação de estabelecimentos de saúde"},
            {"actRelEstabComPlanos", "Relação de Estabelecimentos de Saúde e seus Planos"},
            {"actRelPlanosSemVinculoEstabSaude", "Relação de planos sem vínculo com estabelecimento de saúde"},
            {"actRelPlanosComEstab", "Relação de Planos e seus Estabelecimentos de Saúde"},
            {"actRelPlanosExportados", "Relação de Planos enviados"},
            {"actRelPlanosNaoExportados", "Relação de Planos não enviados"},
            {"actRelPlanos", "Relatório de Planos"},
            {"actRelDispositivo", "Relação de Dispositivos Contratuais"}};
        for (const auto& [nome, legenda] : entradas) {
            QAction* a = w.Acao(QString::fromLatin1(nome));
            ASSERT_NE(a, nullptr) << nome;
            EXPECT_TRUE(a->isEnabled()) << nome;
            Modais m([](QDialog&) { return int(QDialog::Rejected); });
            a->trigger();
            EXPECT_EQ(m.abertos.value(0), QString::fromUtf8(legenda)) << nome;
        }
        EXPECT_TRUE(bool(TfrmCadHosp::TelasRelacionadas().relatorio));
        EXPECT_TRUE(bool(TfrmCadHosp::TelasRelacionadas().planosDoEstab));

        // The plan screen's print button opens the plan report preset to the plan shown.
        TfrmCadPlano plano;
        plano.AtualizaAcoes();
        ASSERT_TRUE(plano.actImprimir->isEnabled());
        QString planoDoDialogo;
        Modais m([&](QDialog& d) {
            if (auto* dlg = qobject_cast<TfrmDlgRelatorioPlanos*>(&d)) planoDoDialogo = dlg->lblPlano->text();
            return int(QDialog::Rejected);
        });
        plano.actImprimir->trigger();
        EXPECT_EQ(m.abertos.value(0), QStringLiteral("Relatório de Planos"));
        EXPECT_EQ(planoDoDialogo, QStringLiteral("PLANO IMPRESSO"));
        EXPECT_TRUE(mensagens.textos().isEmpty()) << mensagens.textos().join('|').toStdString();
    }
}
