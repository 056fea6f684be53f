#pragma once
#include <QSize>

class QWidget;

// Window size and place remembered per screen. The first time a screen opens it gets
// `padrao` (reduced to what the screen's free area holds) centred on the screen; when
// it is closed its size and place are kept (QSettings, user scope, "QEV/janelas", under
// the window's object name) and the next opening restores them, as long as they still
// fit the screen. The window's object name must be set.
void LembraGeometria(QWidget* janela, const QSize& padrao);

// Shows a read-only area's fields (disabled while a record is browsed) in the normal
// text colour instead of the toolkit's grey: while `area` is disabled its palette gives
// disabled texts the colours of enabled ones; enabled again, it gets its palette back,
// so fields disabled one by one during an edit still look disabled.
void TextoNormalQuandoSomenteLeitura(QWidget* area);
