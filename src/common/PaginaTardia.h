#pragma once
#include <QWidget>
#include <functional>

// A page of a tab widget whose contents are built the first time it is shown (or asked
// for with Garante): a window opens without paying for the pages nobody looks at. The
// contents go into a widget of their own and take the page's place in the Tab order; their
// Alt+letters come as any page's do when shown (Mnemonicos).
class PaginaTardia : public QWidget {
public:
    using Montagem = std::function<void(QWidget* conteudo)>;
    explicit PaginaTardia(Montagem monta, QWidget* pai = nullptr);

    // Builds the contents now if they were not built yet.
    void Garante();
    bool Montada() const { return m_conteudo != nullptr; }
    // The widget the contents were built into (null before).
    QWidget* Conteudo() const { return m_conteudo; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    Montagem m_monta;
    QWidget* m_conteudo = nullptr;
    bool m_montando = false;
};
