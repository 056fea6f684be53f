#pragma once
#include "common/FrmModBase.h"
#include "db/RowSet.h"
#include "reports/ModeloRelatorio.h"

class QAction;
class QLabel;
class QTableView;
class QToolBar;

// Generic report of a message list: the title of the list, "Seqüencial" and
// "Descrição do Erro", one row per message.
class TqrpErrosImportacao : public TqrpModeloRelatorio {
    Q_OBJECT
public:
    TqrpErrosImportacao(const RowSet& lista, const QString& titulo, QObject* pai = nullptr);
};

// "Tela de exibição de erros genéricos": a list of numbered messages that the caller
// fills and then shows; the user moves through it, exports it to a spreadsheet or
// prints it. Closing empties the list.
//
//     TfrmErrosGenericos erros(this);
//     erros.DefineTitulo("Erros da importação");
//     erros.AdicionaMensagem("...");
//     if (erros.TemMensagens()) Modal::executa(erros);
class TfrmErrosGenericos : public TfrmModBase {
    Q_OBJECT
public:
    explicit TfrmErrosGenericos(QWidget* pai = nullptr);

    // Appends a message (trimmed), numbered 1, 2, 3... in insertion order.
    void AdicionaMensagem(const QString& texto);
    // Sets the title (trimmed), shown in the title panel after one space.
    void DefineTitulo(const QString& texto);
    const QString& Titulo() const { return m_titulo; }
    bool TemMensagens() const { return !cdsErros.IsEmpty(); }

    // Fields Numero and Mensagem.
    RowSet cdsErros;

    QLabel* pnlTitulo;
    QTableView* grdErros;
    QLabel* lblStatus;
    QAction* actPrimeiro;
    QAction* actAnterior;
    QAction* actProximo;
    QAction* actUltimo;
    QAction* actExportarExcel;
    QAction* actRelatorio;

    // Writes the list into a new spreadsheet and opens it; the path, or empty when
    // the export failed (the error was shown).
    QString ExportarExcel();
    // Shows the generic report of the list.
    void RelatorioGenerico();

protected:
    void showEvent(QShowEvent* e) override;
    void done(int resultado) override;

private:
    void atualizaAcoes();
    QString m_titulo;
    bool m_somenteLeitura = false;
};
