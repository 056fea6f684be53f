#pragma once
#include <QHash>
#include <QMainWindow>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;

// The main window: the current-operator panel and the menu of every function.
// Creating it checks the program's version and removes other operators' data;
// showing it applies the current operator; each activation makes sure an operator
// is registered.
class TfrmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmPrincipal(QWidget* parent = nullptr);

    // Whether the program was asked to end (old version, or no operator registered).
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
    // Shows the operators table's current row in the panel.
    void AtualizaPainel();
    // The activation step: maximises the window and, while no operator is registered,
    // opens the operator screen inside a transaction (runs on every activation).
    void Ativacao();
    // "Dados da Operadora": the operator selection, then the chosen operator becomes
    // the current one.
    void DadosDaOperadora();
    // Who creates the data modules again after a restoration replaced the database
    // (the start-up installs it; without it the modules keep what they read).
    void DefineRecargaModulos(std::function<void()> recarga) { m_recargaModulos = std::move(recarga); }
    // After a restoration: the modules read the restored database, the start's clean-up
    // runs and the restored operator is shown.
    void AposRestauracao();

signals:
    // The program is to end (the start-up connects it to the application's quit).
    void finalizacaoPedida();

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* alvo, QEvent* e) override;

private:
    void criaMenu();
    QWidget* criaPainelOperadora();
    QAction* acao(const QString& nome, const QString& legenda, bool habilitada);
    void criacao();
    void agendaAtivacao();
    void pedeFinalizacao();
    // Reopens the operators table on that code and makes it the current operator.
    void tornaAtual(const QString& cdOper);
    void sobre();

    QHash<QString, QAction*> m_acoes;
    QMenu* m_menuCadastro = nullptr;
    QMenu* m_menuRelatorios = nullptr;
    QLineEdit* m_edtCodigo = nullptr;
    QLineEdit* m_edtRazaoSocial = nullptr;
    QLineEdit* m_edtCnpj = nullptr;
    QLabel* m_lblVersao = nullptr;
    bool m_finalizar = false;
    bool m_ativacaoPendente = false;
    bool m_registrando = false;
    std::function<void()> m_recargaModulos;
};
