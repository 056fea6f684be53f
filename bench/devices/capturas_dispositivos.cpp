// capturas_dispositivos PASTA IMAGENS
//
// Writes an example database into PASTA and, into IMAGENS, a PNG of the device screen
// showing a device already sent (and linked to a plan), a device of a theme no longer
// in force, a published device and a device whose theme calls for a value.
#include <QApplication>
#include <QDir>
#include <QFile>

#include "app/Aplicacao.h"
#include "FixturaDispositivos.h"
#include "db/CriaBanco.h"
#include "db/DmConexao.h"
#include "db/DmLookup.h"
#include "db/RowSet.h"
#include "devices/DmClausula.h"
#include "devices/FrmCadClausula.h"
#include "operator/DmZemlo.h"
#include "operator/Operadora.h"
#include "platform/LinhaComando.h"
#include "platform/Mensagens.h"
#include "platform/Plataforma.h"

namespace F = FixturaDispositivos;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    AplicacaoQev app(argc, argv);  // as the program runs: letters, translations, clock
    const QStringList args = LeArgumentos(
        app, QStringLiteral("Grava imagens da tela de dispositivos contratuais."),
        {{QStringLiteral("PASTA"), QStringLiteral("Pasta da base de exemplo.")},
         {QStringLiteral("IMAGENS"), QStringLiteral("Pasta das imagens.")}});
    const QString pasta = args[0], imagens = args[1];
    QDir().mkpath(pasta);
    QDir().mkpath(imagens);
    Mensagens::defineTratador(
        [](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });

    const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
    QFile::remove(caminho);
    const QString fontes = QStringLiteral(QEV_DIR_FONTES "/data/");
    CriaBanco::cria(caminho, {CriaBanco::leScript(fontes + QStringLiteral("schema.sql")),
                              CriaBanco::leScript(fontes + QStringLiteral("referencia.sql"))});
    PastaPrograma::define(pasta);
    TDmConexao conexao;
    Banco& b = conexao.banco();
    b.abre(caminho, TDmConexao::SenhaBanco());
    const QString op = QStringLiteral("123455");
    b.executa(QStringLiteral("INSERT INTO OPERADORAS (CD_OPER, CD_CNPJ, NM_RAZAO_SOCIAL, "
                             "CD_GRUPO_CLASSIFICACAO) VALUES (?, '11222333000181', 'OPERADORA D''ÁVILA "
                             "SAÚDE', 22)"),
              {op});
    const auto dispositivo = [&](qlonglong cd, qlonglong tema, const char* id, const char* desc,
                                 const char* texto, const QVariantMap& valores = {}) {
        F::Dispositivo d;
        d.codigo = cd;
        d.cdOper = op;
        d.tema = tema;
        d.identificacao = QString::fromUtf8(id);
        d.descricao = QString::fromUtf8(desc);
        d.texto = QString::fromUtf8(texto);
        d.valores = valores;
        d.publicado = 0;
        return d;
    };
    F::Dispositivo enviado =
        dispositivo(1, 10, "ATR-001", "Atributos do contrato coletivo empresarial",
                    "Este contrato é celebrado entre a operadora e a pessoa jurídica contratante, "
                    "para a cobertura dos empregados a ela vinculados, nos termos da regulamentação "
                    "vigente.",
                    {{QStringLiteral("CD_TIPO_CONTRATO"), 2}});
    enviado.statusEnvio = 1;
    F::insere(b, enviado);
    F::vincula(b, op, 1, 1);
    F::insere(b, dispositivo(2, 5, "CAR-003", "Carências da redação de 2008",
                             "Os prazos de carência são de 24 horas para urgência e emergência, "
                             "300 dias para partos a termo e 180 dias para os demais casos."));
    F::Dispositivo publicado =
        dispositivo(3, 12, "COB-010", "Coberturas do plano hospitalar com obstetrícia",
                    "A operadora cobrirá os procedimentos do Rol vigente para a segmentação "
                    "hospitalar com obstetrícia, inclusive as despesas do recém-nascido nos "
                    "primeiros 30 dias após o parto.",
                    {{QStringLiteral("CD_SEGMENTACAO"), 2}});
    publicado.publicado = 1;
    F::insere(b, publicado);
    F::insere(b, dispositivo(4, 25, "REG-002", "Mecanismos de regulação com coparticipação",
                             "Haverá coparticipação de 30% nas consultas eletivas, limitada ao "
                             "valor estabelecido na tabela anexa.",
                             {{QStringLiteral("CD_FATOR_MODERADOR"), QStringLiteral("C")}}));

    TDMZemlo zemlo;
    TdmLookup lookup;
    TdmClausula dm;
    TfrmCadClausula::TelasRelacionadas().relatorio = [](QWidget*) {};
    TfrmCadClausula tela;
    tela.show();
    const struct {
        qlonglong codigo;
        const char* nome;
    } casos[] = {{1, "01-enviado"}, {2, "02-inativo"}, {3, "03-publicado"}, {4, "04-fator-moderador"}};
    for (const auto& c : casos) {
        dm.cdsClausula()->Locate(QStringLiteral("CD_CLAUSULA_OPERADORA"), c.codigo);
        tela.AtualizaAcoes();
        QApplication::processEvents();
        const QString arquivo = QDir(imagens).filePath(QString::fromLatin1(c.nome) + QStringLiteral(".png"));
        tela.grab().save(arquivo);
        std::printf("%s\n", qPrintable(arquivo));
    }
    return 0;
}
