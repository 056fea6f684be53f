#pragma once
#include <QWidget>

class QProgressBar;
class QTimer;

// The splash window shown while the program starts.
class TfrmApresentacao : public QWidget {
    Q_OBJECT
public:
    explicit TfrmApresentacao(QWidget* parent = nullptr);
    QProgressBar* BarraProgresso() const { return m_barra; }
    void DefineProgresso(int valor);

private:
    void verificaBarra();
    QProgressBar* m_barra;
    QTimer* m_timer;
};
