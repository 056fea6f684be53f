#pragma once
#include <QKeySequence>
#include <QList>
#include <QStringList>
#include <functional>

#include "common/FrmModBase.h"

class QAction;
class QFrame;
class QLabel;
class QPushButton;
class QToolBar;
class Banco;
class Habilitacoes;
class RowSet;
class VinculoCampos;

// Template of the record-maintenance screens: a window bound to one row set, with
// a title band, a toolbar (add, edit, delete, previous, next, search, leave), a
// data area where the screen puts its fields, and a bottom band with the record
// counter and the buttons "Confirmar" (default) and "Cancelar" (Escape).
//
// The screen sets the row set (DefineCadastro) and, for deletions written at once,
// the table (DefineTabela); it overrides the Execute operations it needs, above
// all actCadastrarExecute (save) and actPesquisarExecute (search).
class TfrmModeloCadastro : public TfrmModBase {
    Q_OBJECT
public:
    explicit TfrmModeloCadastro(QWidget* pai = nullptr);
    ~TfrmModeloCadastro() override;

    // The row set maintained; opened (when it is not) by the screen beforehand.
    void DefineCadastro(RowSet* rowSet);
    RowSet* dtsCadastro() const { return m_rs; }
    // Where a deletion is written (table and key columns).
    void DefineTabela(Banco* banco, const QString& tabela, const QStringList& chaves);

    // The three switches (all on when the window is created).
    bool PodeIncluir = true;
    bool PodeAlterar = true;
    bool PodeExcluir = true;

    // Browsing: a row set is bound and it is neither inserting nor editing.
    bool Navegando() const;
    // Re-evaluates which actions and controls are enabled (also run whenever the program
    // is idle): every rule says its word (DefineHabilitacoes), then each state is set once,
    // and only when it differs. Returns how many actions and controls changed.
    int AtualizaAcoes();
    // Refreshes what is not bound to a column from the current row.
    virtual void AtualizaDados() {}

    QAction* actAdicionar;
    QAction* actAlterar;
    QAction* actExcluir;
    QAction* actCancelar;
    QAction* actCadastrar;
    QAction* actPesquisar;
    QAction* actAnterior;
    QAction* actProximo;
    QAction* actSair;

    QLabel* lblTitulo() const { return m_titulo; }
    QToolBar* tbrAcoes() const { return m_barra; }
    QWidget* pnlDados() const { return m_dados; }
    QLabel* lblQtRegistros() const { return m_contador; }
    QPushButton* btnConfirmar() const { return m_confirmar; }
    QPushButton* btnCancelar() const { return m_cancelar; }
    VinculoCampos* vinculos() const { return m_vinculos; }

    // The keys of a template or screen action, by its name (empty: none). Each action
    // named there gets them, and its hint names the first one ("Incluir (Ins)").
    static QList<QKeySequence> Atalhos(const QString& nomeAcao);

    // Escape cancels an insert or edit; otherwise it does nothing.
    void reject() override;

protected:
    // The template's rules; a screen adds its own after calling this (a later word on
    // the same action or control overrules an earlier one).
    virtual void DefineHabilitacoes(Habilitacoes& h);

    virtual void actAdicionarExecute();
    virtual void actAlterarExecute();
    virtual void actExcluirExecute();
    virtual void actCancelarExecute();
    virtual void actCadastrarExecute() {}
    virtual void actPesquisarExecute() {}
    virtual void actAnteriorExecute();
    virtual void actProximoExecute();
    virtual void actSairExecute();

    // Caption of the window in the current state (" [Inclusão]", " [Alteração]", " [Consulta]").
    virtual QString LegendaDoEstado() const;
    // Text of the record counter ("1.234 Registro(s)").
    virtual QString TextoContador() const;
    void AtualizaContador();
    // Closes the window (also in the middle of nothing: the screen's own exit).
    void Fecha();
    // Runs an action, showing an error it raises in the plain error box.
    void Executa(const std::function<void()>& acao);
    // Adds a tool button of the screen before "Sair".
    void AdicionaNaBarra(QAction* acao);
    // Creates an action of the screen (name, text, hint, standard icon) and adds its button
    // before "Sair".
    QAction* NovaAcaoNaBarra(const QString& nome, const QString& texto, const QString& dica,
                             int icone);

    void closeEvent(QCloseEvent* e) override;

private:
    void aplicaAtalho(QAction* acao);
    QAction* criaAcao(const QString& nome, const QString& texto, const QString& dica, int icone);
    void aoMudarEstado();

    RowSet* m_rs = nullptr;
    Banco* m_banco = nullptr;
    QString m_tabela;
    QStringList m_chaves;
    VinculoCampos* m_vinculos = nullptr;
    QLabel* m_titulo;
    QToolBar* m_barra;
    QAction* m_antesDeSair;
    QWidget* m_dados;
    QLabel* m_contador;
    QPushButton* m_confirmar;
    QPushButton* m_cancelar;
    QMetaObject::Connection m_ocioso;
    bool m_fechando = false;
};
