#include "db/CriaBanco.h"

#include <QFile>
#include <QFileInfo>

#include "db/Banco.h"
#include "db/DmConexao.h"
#include "db/PacoteDados.h"
#include "db/Transacao.h"

namespace CriaBanco {

QString leScript(const QString& caminhoArquivo) {
    QFile f(caminhoArquivo);
    if (!f.open(QIODevice::ReadOnly))
        throw ErroQev(QStringLiteral("Não foi possível ler o arquivo \"%1\": %2")
                          .arg(caminhoArquivo, f.errorString()));
    return QString::fromUtf8(f.readAll());
}

namespace {
// The delivered database carries the built-in municipality list.
void insereMunicipios(Banco& b) {
    QFile f(QStringLiteral(":/dados/municipios.xml"));
    if (!f.open(QIODevice::ReadOnly)) throw ErroQev(QStringLiteral("Lista de municípios indisponível."));
    const PacoteDados lista = PacoteDados::le(f.readAll());
    for (int i = 0; i < lista.linhas.size(); ++i)
        b.executa(QStringLiteral("INSERT INTO TB_MUNICIPIOS (ID_MUNC, CD_UF, NM_MUNC) VALUES (?, ?, ?)"),
                  {lista.valor(i, QStringLiteral("ID_MUNC")).toLongLong(), lista.valor(i, QStringLiteral("CD_UF")),
                   lista.valor(i, QStringLiteral("NM_MUNC"))});
}
}  // namespace

bool cria(const QString& caminho, const QStringList& scripts, bool comMunicipios) {
    if (QFileInfo::exists(caminho)) return false;
    const QString temporario = caminho + QStringLiteral(".novo");
    QFile::remove(temporario);
    try {
        Banco b;
        b.abre(temporario, TDmConexao::SenhaBanco(), true);
        TransacaoEscopo transacao(b);
        for (const QString& s : scripts) b.executaScript(s);
        if (comMunicipios) insereMunicipios(b);
        transacao.confirma();
        b.fecha();
    } catch (...) {
        QFile::remove(temporario);
        throw;
    }
    if (!QFile::rename(temporario, caminho)) {
        QFile::remove(temporario);
        throw ErroQev(QStringLiteral("Não foi possível criar o arquivo \"%1\".").arg(caminho));
    }
    return true;
}

}  // namespace CriaBanco
