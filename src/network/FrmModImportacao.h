#pragma once
#include <functional>

#include "common/FrmModBase.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QToolButton;
class QVBoxLayout;

// What the import screens share: the file row (label, path box, chooser button), a
// progress bar hidden until the run starts that keeps its place meanwhile, the
// confirm/cancel band ("btnConfirmaProcesso", "btnLimpaTexto"), and the rule that a
// running import cannot be closed by any means.
class TfrmModImportacao : public TfrmModDialogo {
    Q_OBJECT
public:
    QLabel* lblArquivo;
    QLineEdit* edtArquivo;
    QToolButton* btnProcuraArquivo;
    QProgressBar* Gauge1;
    QPushButton* btnConfirmaProcesso;
    QPushButton* btnLimpaTexto;

    bool Importando() const { return m_importando; }

public slots:
    void reject() override;

protected:
    // `filtro`: the file chooser's file types.
    TfrmModImportacao(QWidget* pai, const QString& rotulo, QString filtro);
    // Where a screen puts its own fields, between the file row and the progress bar.
    QVBoxLayout* areaPropria() const { return m_area; }
    // Runs the import: hourglass, nothing to press, no closing, the window repainting at
    // every ProcessaEventos; everything comes back afterwards, also on failure.
    void executa(const std::function<void()>& importacao);
    // Shows the bar's position and lets the window repaint.
    void mostraProgresso(int valor, int maximo);
    void closeEvent(QCloseEvent* e) override;

private:
    void escolheArquivo();
    QString m_filtro;
    QVBoxLayout* m_area;
    bool m_importando = false;
};
