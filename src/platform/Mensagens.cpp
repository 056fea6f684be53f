#include "platform/Mensagens.h"

namespace Mensagens {
namespace {
Tratador& tratadorAtual() {
    static Tratador t;
    return t;
}
}  // namespace

Tratador defineTratador(Tratador novo) {
    Tratador antigo = std::move(tratadorAtual());
    tratadorAtual() = std::move(novo);
    return antigo;
}

int respostaPadrao(Botoes b) {
    if (b & BtSim) return RespSim;
    if (b & BtNao) return RespNao;
    if (b & BtOk) return RespOk;
    if (b & BtCancelar) return RespCancelar;
    if (b & BtAbortar) return RespAbortar;
    if (b & BtRefazer) return RespRefazer;
    if (b & BtIgnorar) return RespIgnorar;
    if (b & (BtTodos | BtSimParaTodos)) return RespTodos;
    if (b & BtNaoParaTodos) return RespNao;
    return RespNenhuma;
}

int mostra(const Pedido& pedido) {
    if (tratadorAtual()) return tratadorAtual()(pedido);
    return respostaPadrao(pedido.botoes);
}

}  // namespace Mensagens
