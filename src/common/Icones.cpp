#include "common/Icones.h"

#include <QApplication>
#include <QHash>

namespace {
QHash<int, QIcon>& guardados() {
    static QHash<int, QIcon> icones;
    return icones;
}
}  // namespace

QIcon IconePadrao(QStyle::StandardPixmap qual) {
    QHash<int, QIcon>& icones = guardados();
    if (icones.isEmpty())  // the images go with the application, not after it
        qAddPostRoutine([] { guardados().clear(); });
    auto it = icones.find(int(qual));
    if (it == icones.end()) it = icones.insert(int(qual), QApplication::style()->standardIcon(qual));
    return *it;
}
