#pragma once
#include <QPixmap>

// The program's logo, drawn at the size asked.
namespace Logotipo {
QPixmap pixmap(int lado);
}
