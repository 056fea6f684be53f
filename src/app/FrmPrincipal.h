#pragma once
#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

// The main window: the current-operator panel and the menu of every function.
class TfrmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmPrincipal(QWidget* parent = nullptr);

    // Whether creation asked the program to end (the version check found it old).
    bool DeveFinalizar() const { return m_finalizar; }

    QAction* Acao(const QString& nome) const { return m_acoes.value(nome); }
    QMenu* MenuCadastro() const { return m_menuCadastro; }
    QMenu* MenuRelatorios() const { return m_menuRelatorios; }
    QLineEdit* CampoCodigo() const { return m_edtCodigo; }
    QLineEdit* CampoRazaoSocial() const { return m_edtRazaoSocial; }
    QLineEdit* CampoCnpj() const { return m_edtCnpj; }
    QLabel* RotuloVersao() const { return m_lblVersao; }

    // Re-applies the operator-dependent state of the menu.
    void AtualizaMenus();
    // Shows the current operator row in the panel.
    void AtualizaPainel();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* alvo, QEvent* e) override;

private:
    void criaMenu();
    QWidget* criaPainelOperadora();
    QAction* acao(const QString& nome, const QString& legenda, bool habilitada);
    void sobre();
    void dadosDaOperadora();

    QHash<QString, QAction*> m_acoes;
    QMenu* m_menuCadastro = nullptr;
    QMenu* m_menuRelatorios = nullptr;
    QLineEdit* m_edtCodigo = nullptr;
    QLineEdit* m_edtRazaoSocial = nullptr;
    QLineEdit* m_edtCnpj = nullptr;
    QLabel* m_lblVersao = nullptr;
    bool m_finalizar = false;
};
