#pragma once
#include <QString>

#include "platform/Mensagens.h"

class QIcon;

// Shows a message (kind, text, buttons) through the installed message handler and
// returns the answer of the button pressed. A non-empty `legenda` replaces the
// kind's caption; `icone` replaces the kind's icon.
int MyMessageDlg(const QString& texto, int tipo, Mensagens::Botoes botoes,
                 const QIcon* icone = nullptr, const QString& legenda = QString());

// The icon given to the MyMessageDlg call being delivered (null outside such a
// call, or when none was given). The graphical handler reads it.
const QIcon* IconeDaMensagemAtual();

// Shows the plain error box (OK button only).
void MostraErroSimples(const QString& texto);

// Turns a database error text into the Portuguese message shown to the user.
QString TraduzErroBanco(const QString& texto);
