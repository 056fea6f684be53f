#include "platform/Mensagens.h"

#include "platform/Costura.h"

namespace Mensagens {
using Seam = Costura<struct MarcaMensagens, Tratador>;

Tratador defineTratador(Tratador novo) { return Seam::define(std::move(novo)); }

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
    if (Seam::atual()) return Seam::atual()(pedido);
    return respostaPadrao(pedido.botoes);
}

}  // namespace Mensagens
