#pragma once
#include <QIcon>
#include <QStyle>

// A standard icon of the application's style, read once per run: the style reads its
// images from files each time it is asked, and a screen asks for a dozen when created.
QIcon IconePadrao(QStyle::StandardPixmap qual);
