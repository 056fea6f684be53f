#pragma once
#include <QString>
#include <functional>

// Seam of every message the system shows. The GUI installs a handler that opens
// the message dialog; tests install a recorder that answers from a script.
namespace Mensagens {

// Kinds of dialog (the numbers are the ones callers pass).
enum Tipo : int {
    Cuidado = 0,      // "CUIDADO"
    Erro = 1,         // "E R R O"
    Informacao = 2,   // "Informação"
    Confirmacao = 3,  // "Confirme"
    Livre = 4,
    CaixaErroSimples = 100  // the plain error box of errors no screen caught
};

// Buttons (a set is an OR of these).
enum Botao : unsigned {
    BtSim = 1u << 0,
    BtNao = 1u << 1,
    BtOk = 1u << 2,
    BtCancelar = 1u << 3,
    BtAbortar = 1u << 4,
    BtRefazer = 1u << 5,
    BtIgnorar = 1u << 6,
    BtTodos = 1u << 7,
    BtNaoParaTodos = 1u << 8,
    BtSimParaTodos = 1u << 9,
    BtAjuda = 1u << 10,
};
using Botoes = unsigned;

// Answers.
enum Resposta : int {
    RespNenhuma = 0,
    RespOk = 1,
    RespCancelar = 2,
    RespAbortar = 3,
    RespRefazer = 4,
    RespIgnorar = 5,
    RespSim = 6,
    RespNao = 7,
    RespTodos = 8,
};

struct Pedido {
    QString texto;
    int tipo = Informacao;
    Botoes botoes = BtOk;
    QString legenda;       // replaces the kind's caption when not empty
    bool comIcone = false; // an icon was given by the caller
};

using Tratador = std::function<int(const Pedido&)>;

// Installs the handler; returns the one it replaced.
Tratador defineTratador(Tratador novo);
// Delivers a message to the installed handler (no handler: answers as if the
// first button of the set had been pressed).
int mostra(const Pedido& pedido);
// The answer of the first button of a set, in the dialog's order.
int respostaPadrao(Botoes botoes);

}  // namespace Mensagens
