#include "common/MoveLinhas.h"

#include <QItemSelectionModel>
#include <QTableView>
#include <algorithm>

#include "common/CursorEspera.h"
#include "db/ModeloRowSet.h"

namespace {
// Suspends a grid's screen updates while it lives.
class SemAtualizacao {
public:
    explicit SemAtualizacao(QWidget* w) : m_w(w) { m_w->setUpdatesEnabled(false); }
    ~SemAtualizacao() { m_w->setUpdatesEnabled(true); }

private:
    QWidget* m_w;
};
}  // namespace

void MoveLinhasSelecionadas(QTableView* origem, QTableView* destino, bool copia, bool todos) {
    ModeloRowSet* mo = ModeloDaGrade(origem);
    ModeloRowSet* md = ModeloDaGrade(destino);
    if (!mo || !md) throw ErroQev(QStringLiteral("Grade sem conjunto de dados."));
    RowSet* fonte = mo->rowSet();
    RowSet* alvo = md->rowSet();
    if (fonte->IsEmpty()) return;

    CursorEspera espera;
    SemAtualizacao suspensa(origem);
    if (todos) origem->selectAll();

    QVector<int> linhas;  // physical rows, in the grid's order
    if (origem->selectionModel()) {
        QModelIndexList marcadas = origem->selectionModel()->selectedRows();
        std::sort(marcadas.begin(), marcadas.end(),
                  [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        for (const QModelIndex& i : marcadas) linhas << fonte->LinhaNaPosicao(i.row());
    }
    if (linhas.isEmpty()) linhas << fonte->Linha();

    if (copia) {
        QVector<QPair<int, int>> pares;  // target field, source field
        for (int c = 0; c < alvo->Campos().size(); ++c) {
            const Campo& f = alvo->Campos()[c];
            if (!f.ehDado()) continue;
            const int s = fonte->IndiceCampo(f.nome);
            if (s < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(f.nome));
            pares.push_back({c, s});
        }
        for (int linha : linhas) {
            alvo->Append();
            for (const auto& [c, s] : pares) alvo->DefineValor(c, fonte->ValorDaLinha(linha, s));
            alvo->Post();
        }
    }
    for (int linha : linhas)
        if (fonte->VaiParaLinha(linha)) fonte->Delete();
    if (origem->selectionModel()) origem->selectionModel()->clearSelection();
}
