#pragma once
#include "common/FrmModBase.h"

class QLineEdit;
class QToolButton;
class CaixaData;
class RowSet;
class TdmInfoPlano;
class VinculoCampos;

// "Nota Técnica": the technical note being inserted or edited in cdsNotaTecnica.
// Confirm checks it (the last failing check is shown and the dialog stays open),
// warns about a date before 2008 and posts it; a post the set refuses (same protocol
// and file name as another note) discards the note with its message and closes.
// Cancel (and Escape) abandons the note.
class TfrmCadNotaTecnica : public TfrmModDialogo {
    Q_OBJECT
public:
    explicit TfrmCadNotaTecnica(TdmInfoPlano* dm, QWidget* pai = nullptr);

    QLineEdit* DBEdit1;        // "Protocolo de Incorporação" (digits only)
    QLineEdit* edtArquivo;     // "Nome do Arquivo"
    CaixaData* edtDataProtocolo;
    QToolButton* btnCalendario;

    void btnCadastrarClick();
    void btnCancelarClick();

protected:
    void ConfirmarClick() override { btnCadastrarClick(); }
    void CancelarClick() override { btnCancelarClick(); }
    void reject() override { btnCancelarClick(); }

private:
    TdmInfoPlano* m_dm;
    RowSet* m_notas;
    VinculoCampos* m_vinculos;
};
