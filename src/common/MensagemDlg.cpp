#include "common/MensagemDlg.h"

#include <QStringList>

namespace {

const QIcon* g_iconeAtual = nullptr;

// Keeps the caller's icon reachable while its message is delivered.
class IconeEmUso {
public:
    explicit IconeEmUso(const QIcon* icone) : m_anterior(g_iconeAtual) { g_iconeAtual = icone; }
    ~IconeEmUso() { g_iconeAtual = m_anterior; }
    IconeEmUso(const IconeEmUso&) = delete;
    IconeEmUso& operator=(const IconeEmUso&) = delete;

private:
    const QIcon* m_anterior;
};

}  // namespace

int MyMessageDlg(const QString& texto, int tipo, Mensagens::Botoes botoes, const QIcon* icone,
                 const QString& legenda) {
    Mensagens::Pedido pedido;
    pedido.texto = texto;
    pedido.tipo = tipo;
    pedido.botoes = botoes;
    pedido.legenda = legenda;
    pedido.comIcone = icone != nullptr;
    IconeEmUso emUso(icone);
    return Mensagens::mostra(pedido);
}

const QIcon* IconeDaMensagemAtual() { return g_iconeAtual; }

void MostraErroSimples(const QString& texto) {
    Mensagens::Pedido pedido;
    pedido.texto = texto;
    pedido.tipo = Mensagens::CaixaErroSimples;
    pedido.botoes = Mensagens::BtOk;
    Mensagens::mostra(pedido);
}

QString TraduzErroBanco(const QString& texto) {
    // Record held by another user: the engine's busy/locked answers.
    static const QStringList kBloqueio{QStringLiteral("currently locked"),
                                       QStringLiteral("database is locked"),
                                       QStringLiteral("database table is locked")};
    // A value that could not be converted to the column's type.
    static const QStringList kConversao{QStringLiteral("is not a valid integer value"),
                                        QStringLiteral("datatype mismatch"),
                                        QStringLiteral("não é um número inteiro válido")};
    // A database file that could not be found or opened (upper case).
    static const QStringList kArquivo{QStringLiteral("COULD NOT FIND FILE"),
                                      QStringLiteral("UNABLE TO OPEN DATABASE FILE")};
    // A duplicate key (upper case).
    static const QStringList kChave{
        QStringLiteral("CREATE DUPLICATE VALUES IN THE INDEX, PRIMARY KEY, OR RELATIONSHIP"),
        QStringLiteral("UNIQUE CONSTRAINT FAILED"), QStringLiteral("PRIMARY KEY MUST BE UNIQUE")};

    const auto contemAlgum = [](const QString& t, const QStringList& padroes) {
        for (const QString& p : padroes)
            if (t.contains(p)) return true;
        return false;
    };

    if (contemAlgum(texto, kBloqueio))
        return QStringLiteral("Registro está sendo alterado por outro usuário");
    if (contemAlgum(texto, kConversao))
        return QStringLiteral("Houve um erro de conversão ao tentar gravar os dados.");
    const QString maiusculo = texto.toUpper();
    if (contemAlgum(maiusculo, kArquivo)) {
        const QString palavra = QStringLiteral("file");
        qsizetype pos = texto.indexOf(palavra);
        if (pos < 0) pos = texto.indexOf(palavra, 0, Qt::CaseInsensitive);
        return QStringLiteral("Não foi possível localizar o arquivo ") +
               texto.mid(pos + palavra.size());
    }
    if (contemAlgum(maiusculo, kChave)) return QStringLiteral("Houve violação de chave primária");
    return QStringLiteral("Operação não realizada! Ocorreu o erro:  ") + texto;
}
