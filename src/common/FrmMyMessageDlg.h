#pragma once
#include <QDialog>
#include <QList>
#include <QString>

#include "platform/Mensagens.h"

class QIcon;
class QLabel;
class QPlainTextEdit;
class QPrinter;
class QPushButton;

// The system's message dialog: the text in a read-only area beside an icon,
// Portuguese-captioned buttons centred in a row along the bottom band, growth
// with long texts and a button that prints the window. It has no close box and
// ends only through one of its buttons (Escape answers "cancel" when that
// button is present).
class TfrmMyMessageDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kAlturaBase = 200;
    static constexpr int kAlturaMaxima = 500;
    static constexpr int kAlturaLinha = 17;
    static constexpr int kLinhasSemCrescer = 8;
    static constexpr int kAlturaFaixa = 35;
    static constexpr int kLarguraBotao = 75;
    static constexpr int kAlturaBotao = 27;
    static constexpr int kPassoBotoes = 85;
    static constexpr int kTopoBotoes = 4;

    TfrmMyMessageDlg(const QString& texto, int tipo, Mensagens::Botoes botoes,
                     const QIcon* icone = nullptr, const QString& legenda = QString(),
                     QWidget* pai = nullptr);

    // Answer of the button that closed the dialog (0 while none did).
    int resposta() const { return m_resposta; }
    // The buttons of the set, in the order they are laid out.
    const QList<QPushButton*>& botoes() const { return m_botoes; }
    QPlainTextEdit* areaTexto() const { return m_areaTexto; }
    QLabel* rotuloIcone() const { return m_icone; }
    QPushButton* botaoImprimir() const { return m_imprimir; }
    QWidget* faixaInferior() const { return m_faixa; }
    // The message with its line breaks normalised to CR LF.
    const QString& texto() const { return m_texto; }
    int linhas() const { return m_linhas; }
    int larguraLinhaBotoes() const { return m_larguraLinha; }
    int larguraEscolhida() const { return m_largura; }
    int alturaEscolhida() const { return m_altura; }

    // Prints the window as it is shown; when it cannot, shows the plain error
    // box "Indisponível para impressão" and answers false.
    bool imprimeEm(QPrinter& impressora);

    void reject() override;

private:
    void montaTopo(int tipo, const QIcon* icone);
    // Width that shows the longest line unwrapped (capped by the screen).
    int larguraParaOTexto(const QStringList& linhas) const;
    void montaFaixa(Mensagens::Botoes botoes);
    void imprime();

    QString m_texto;
    int m_linhas = 0;
    int m_largura = 0;
    int m_altura = kAlturaBase;
    int m_larguraLinha = 0;
    int m_resposta = Mensagens::RespNenhuma;
    bool m_temCancelar = false;
    QList<QPushButton*> m_botoes;
    QPlainTextEdit* m_areaTexto = nullptr;
    QLabel* m_icone = nullptr;
    QPushButton* m_imprimir = nullptr;
    QWidget* m_faixa = nullptr;
};

// Installs the message handler of the graphical program: every kind opens
// TfrmMyMessageDlg modally; the plain error box is a critical message box.
void InstalaTratadorGrafico();
