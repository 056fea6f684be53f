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

QVector<int> LinhasMarcadas(const QTableView* grade, bool todos) {
    const ModeloRowSet* m = ModeloDaGrade(grade);
    const RowSet* rs = m ? m->rowSet() : nullptr;
    QVector<int> linhas;
    if (!rs || !rs->Ativo() || rs->IsEmpty()) return linhas;
    if (todos) {
        linhas.reserve(rs->RecordCount());
        for (int p = 0; p < rs->RecordCount(); ++p) linhas << rs->LinhaNaPosicao(p);
        return linhas;
    }
    if (grade->selectionModel()) {
        QVector<int> posicoes;
        for (const QModelIndex& i : grade->selectionModel()->selectedRows()) posicoes << i.row();
        std::sort(posicoes.begin(), posicoes.end());
        for (int p : std::as_const(posicoes)) linhas << rs->LinhaNaPosicao(p);
    }
    if (linhas.isEmpty() && rs->Linha() >= 0) linhas << rs->Linha();
    return linhas;
}

void MoveLinhasSelecionadas(QTableView* origem, QTableView* destino, bool copia, bool todos) {
    ModeloRowSet* mo = ModeloDaGrade(origem);
    ModeloRowSet* md = ModeloDaGrade(destino);
    if (!mo || !md) throw ErroQev(QStringLiteral("Grade sem conjunto de dados."));
    RowSet* fonte = mo->rowSet();
    RowSet* alvo = md->rowSet();
    if (fonte->IsEmpty()) return;

    CursorEspera espera;
    SemAtualizacao suspensa(origem);
    const QVector<int> linhas = LinhasMarcadas(origem, todos);

    if (copia) {
        QVector<QPair<int, int>> pares;  // target field, source field
        for (int c = 0; c < alvo->Campos().size(); ++c) {
            const Campo& f = alvo->Campos()[c];
            if (!f.ehDado()) continue;
            const int s = fonte->IndiceCampo(f.nome);
            if (s < 0) throw ErroQev(QStringLiteral("Campo '%1' não encontrado.").arg(f.nome));
            pares.push_back({c, s});
        }
        const RowSet::Lote lote(*alvo);
        for (int linha : linhas) {
            alvo->Append();
            for (const auto& [c, s] : pares) alvo->DefineValor(c, fonte->ValorDaLinha(linha, s));
            alvo->Post();
        }
    }
    fonte->ExcluiLinhas(linhas);
    if (origem->selectionModel()) origem->selectionModel()->clearSelection();
}
