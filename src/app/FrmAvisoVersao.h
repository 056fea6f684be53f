#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// The notice that a newer version of the system is published, with the address to
// download it.
class TfrmZubAvisoVersao : public QDialog {
    Q_OBJECT
public:
    TfrmZubAvisoVersao(const QString& sigla, const QString& versaoPublicada, const QString& link,
                       bool permiteContinuar, QWidget* parent = nullptr);

    QLabel* lblTitulo() const { return m_titulo; }
    QLabel* lblTexto() const { return m_texto; }
    QLabel* lblLink() const { return m_link; }
    // The paragraph that says the program will end (hidden when older versions may go on).
    QLabel* lblFinalizacao() const { return m_finalizacao; }
    QPushButton* btnOk() const { return m_ok; }

    // Opens the link with the default handler (only web addresses).
    void AbreLink();

protected:
    bool eventFilter(QObject* alvo, QEvent* e) override;

private:
    QString m_endereco;
    QLabel* m_titulo;
    QLabel* m_texto;
    QLabel* m_link;
    QLabel* m_finalizacao;
    QPushButton* m_ok;
};
