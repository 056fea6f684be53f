// Program start: the progress the splash shows, the order of the data modules,
// what happens to errors nobody caught.
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTest>
#include <QTimer>

#include "apoio/Apoio.h"
#include "app/FrmApresentacao.h"
#include "app/Inicio.h"
#include "common/Versao.h"
#include "db/DmConexao.h"

using namespace Apoio;

TEST(Inicio, ProgressAndModulesFollowTheFixedOrder) {
    PastaTeste pasta;
    criaBanco(pasta.caminho(), Esquema::Atual, QStringLiteral("INSERT INTO OPERADORAS (CD_OPER) VALUES ('123456');"));
    QVector<int> barra;
    const auto progresso = [&](int v) { barra << v; };
    Inicio::Modulos modulos;
    modulos.abreBanco(progresso);
    modulos.criaModulos(progresso);
    EXPECT_EQ(barra, QVector<int>({80, 88, 92, 96}));
    QStringList ordem;
    for (QObject* m : modulos.criados()) ordem << QString::fromLatin1(m->metaObject()->className());
    EXPECT_EQ(ordem, QStringList({"TDmConexao", "TDMZemlo", "TdmLookup", "TDmPlano", "TDmExportacao",
                                  "TDmHospital", "TDmMunicipio", "TdmInfoPlano", "TdmClausula", "TdmOperadora"}));
}

TEST(Inicio, SplashShowsTheVersionAndClosesOnlyOnceTheBarIsFull) {
    QPointer<TfrmApresentacao> splash = new TfrmApresentacao;
    splash->show();
    EXPECT_EQ(splash->BarraProgresso()->value(), 0);
    EXPECT_EQ(VersaoSistema(true), QStringLiteral("02.07.03"));
    EXPECT_EQ(VersaoSistema(false), QStringLiteral("020703"));
    const QLabel* versao = splash->findChild<QLabel*>(QStringLiteral("lblVersao"));
    ASSERT_NE(versao, nullptr);
    EXPECT_EQ(versao->text(), QStringLiteral("versão 02.07.03"));

    splash->DefineProgresso(96);
    QTest::qWait(3300);  // one check of the bar: not full yet
    ASSERT_FALSE(splash.isNull());
    EXPECT_TRUE(splash->isVisible());
    splash->DefineProgresso(100);
    QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 4000);  // closed and freed at the next check
}

namespace {
class Explode : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User) throw ErroQev(QStringLiteral("falhou no meio da ação"));
        return QObject::event(e);
    }
};
}  // namespace

TEST(Inicio, AnErrorNoScreenCaughtGoesToThePlainErrorBoxAndTheProgramGoesOn) {
    Mensageiro msgs;
    Explode alvo;
    QCoreApplication::postEvent(&alvo, new QEvent(QEvent::User));
    QCoreApplication::processEvents();
    ASSERT_EQ(msgs.pedidos().size(), 1);
    EXPECT_EQ(msgs.pedidos().first().tipo, Mensagens::CaixaErroSimples);
    EXPECT_EQ(msgs.pedidos().first().texto, QStringLiteral("falhou no meio da ação"));
    // the loop still runs
    bool rodou = false;
    QTimer::singleShot(0, [&] { rodou = true; });
    QTRY_VERIFY(rodou);
}
