#pragma once
// What every benchmark and image program shares: medians of repeated runs, and an
// image of a window saved for a person to look at.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace MedidasBench {

inline double medianaMs(std::vector<qint64> ns) {
    std::sort(ns.begin(), ns.end());
    return ns[ns.size() / 2] / 1e6;
}

// The median of `repeticoes` runs, after one run that warms the page cache and the code.
inline double mede(int repeticoes, const std::function<void()>& f) {
    f();
    std::vector<qint64> ns;
    for (int i = 0; i < repeticoes; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        ns.push_back(t.nsecsElapsed());
    }
    return medianaMs(ns);
}

// Shows the window, lets it paint and saves it as `pasta`/`nome`.
inline void salvaImagem(QWidget& w, const QString& pasta, const QString& nome) {
    w.show();
    QApplication::processEvents();
    QTest::qWait(200);
    const QString arquivo = QDir(pasta).filePath(nome);
    w.grab().save(arquivo);
    std::printf("%s (%dx%d)\n", qPrintable(arquivo), w.width(), w.height());
}

}  // namespace MedidasBench
