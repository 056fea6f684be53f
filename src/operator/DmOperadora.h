#pragma once
#include <QObject>
#include <QString>
#include <functional>

// Operator records: registration, checks and selection.
// Created once at start, in its place of the start-up order, and kept for the run.
class TdmOperadora : public QObject {
    Q_OBJECT
public:
    explicit TdmOperadora(QObject* parent = nullptr);
    ~TdmOperadora() override;
    static TdmOperadora* instancia();

    // What runs after an existing operator was saved with another classification:
    // the re-evaluation of that operator's unsent plans. The plan re-evaluation
    // installs it; while none is installed there is nothing to run.
    using Reavaliacao = std::function<void(const QString& cdOper)>;
    void DefineReavaliacao(Reavaliacao reavaliacao) { m_reavaliacao = std::move(reavaliacao); }
    // Runs the installed re-evaluation for the operator (the operator screen calls it).
    void ClassificacaoAlterada(const QString& cdOper);

    // Announces the operator that has just become current (start, first
    // registration, selection), so that modules holding operator data restrict
    // themselves to it.
    void AnunciaOperadoraSelecionada(const QString& cdOper) { emit operadoraSelecionada(cdOper); }

signals:
    void operadoraSelecionada(const QString& cdOper);

private:
    Reavaliacao m_reavaliacao;
};

inline TdmOperadora* dmOperadora() { return TdmOperadora::instancia(); }
