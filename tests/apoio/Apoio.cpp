#include "apoio/Apoio.h"

#include <QSettings>

#include <QDir>

#include "db/CriaBanco.h"
#include "db/DmConexao.h"
#include "platform/Plataforma.h"

namespace Apoio {

void Ambiente::SetUp() {
    // Until a test installs its own recorder, every message answers with its first button.
    Mensagens::defineTratador([](const Mensagens::Pedido& p) { return Mensagens::respostaPadrao(p.botoes); });
    Lancador::define([](Lancador::Tipo, const QString&) { return true; });
    // The user's own settings (the transfer program's path) never come from the
    // developer's home: an empty folder for the whole run.
    static QTemporaryDir configUsuario;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configUsuario.path());
}

Mensageiro::Mensageiro() {
    m_anterior = Mensagens::defineTratador([this](const Mensagens::Pedido& p) {
        m_pedidos.push_back(p);
        if (!m_respostas.empty()) {
            const int r = m_respostas.front();
            m_respostas.pop_front();
            return r;
        }
        return Mensagens::respostaPadrao(p.botoes);
    });
}

Mensageiro::~Mensageiro() { Mensagens::defineTratador(std::move(m_anterior)); }

void Mensageiro::responde(std::initializer_list<int> respostas) {
    m_respostas.insert(m_respostas.end(), respostas.begin(), respostas.end());
}

QStringList Mensageiro::textos() const {
    QStringList t;
    for (const auto& p : m_pedidos) t << p.texto;
    return t;
}

QString fonte(const QString& relativo) { return QStringLiteral(QEV_DIR_FONTES "/") + relativo; }

QString criaBanco(const QString& pasta, Esquema esquema, const QString& sqlExtra) {
    const QString caminho = QDir(pasta).filePath(QStringLiteral("QEV.mdb"));
    QStringList scripts;
    if (esquema == Esquema::Atual) {
        scripts << CriaBanco::leScript(fonte(QStringLiteral("data/schema.sql")))
                << CriaBanco::leScript(fonte(QStringLiteral("data/referencia.sql")));
    } else {
        scripts << CriaBanco::leScript(fonte(QStringLiteral("tests/fixtures/schema_antigo.sql")))
                << CriaBanco::leScript(fonte(QStringLiteral("tests/fixtures/referencia_antiga.sql")));
    }
    CriaBanco::cria(caminho, scripts, esquema == Esquema::Atual);
    if (!sqlExtra.isEmpty()) abreBanco(caminho)->executaScript(sqlExtra);
    return caminho;
}

QStringList coluna(Banco& banco, const QString& sql) {
    QStringList r;
    for (const auto& l : banco.consulta(sql).linhas) r << l.first().toString();
    return r;
}

std::unique_ptr<Banco> abreBanco(const QString& caminho) {
    auto b = std::make_unique<Banco>();
    b->abre(caminho, TDmConexao::SenhaBanco());
    return b;
}

PastaTeste::PastaTeste() { PastaPrograma::define(caminho()); }
PastaTeste::~PastaTeste() {
    PastaPrograma::define(QString());
    Relogio::define(nullptr);
}
QString PastaTeste::caminho() const { return m_dir.path() + QLatin1Char('/'); }

}  // namespace Apoio
