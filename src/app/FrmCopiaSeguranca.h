#pragma once
#include "common/FrmModBase.h"
#include "db/CopiaSeguranca.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// Arquivo > "Cópia de segurança..." and "Restaurar cópia de segurança...": the file,
// a progress bar, and Confirmar runs the copy or the restoration (CopiaSeguranca).
class TfrmCopiaSeguranca : public TfrmModDialogo {
    Q_OBJECT
public:
    enum class Modo { Gravar, Restaurar };
    explicit TfrmCopiaSeguranca(Modo modo, QWidget* pai = nullptr);

    QLineEdit* edtArquivo() const { return m_edtArquivo; }
    QPushButton* btnProcurar() const { return m_btnProcurar; }
    QProgressBar* pbProgresso() const { return m_progresso; }
    // What the restored database holds (after an accepted restoration).
    const CopiaSeguranca::Conteudo& Restaurado() const { return m_restaurado; }

protected:
    void ConfirmarClick() override;
    void CancelarClick() override;
    void closeEvent(QCloseEvent* e) override;

private:
    void procura();
    bool executa(const std::function<void(const CopiaSeguranca::Progresso&)>& trabalho);

    Modo m_modo;
    QLineEdit* m_edtArquivo = nullptr;
    QPushButton* m_btnProcurar = nullptr;
    QProgressBar* m_progresso = nullptr;
    QLabel* m_lblSituacao = nullptr;
    bool m_rodando = false;
    CopiaSeguranca::Conteudo m_restaurado;
};

// Opens each from the main window; true when a restoration replaced the database.
void AbreCopiaSeguranca(QWidget* pai);
bool AbreRestauracaoCopia(QWidget* pai);
