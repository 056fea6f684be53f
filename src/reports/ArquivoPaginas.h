#pragma once
#include <QString>
#include <QVector>
#include <memory>
#include <vector>

class QFile;
class QTemporaryDir;
struct PaginaRelatorio;

// The finished pages of one report, kept out of memory: each page is written as one
// compact record (its drawing and its texts, compressed) to a temporary file of this
// user as soon as it is finished, and read back when it is asked for. The pages used
// last stay in memory (`paginasEmMemoria` of them), so moving back and forth in the
// preview and the pages just made cost no reading.
//
// The file ("paginas") lives in a folder of its own made under the temporary folder
// (QDir::tempPath(), or the one `DefinePastaBase` set) with mode 0700, named after the
// process ("qev-paginas-<pid>-XXXXXX"); the file has mode 0600. Both are made with the
// first page and removed with the object; the first page of a run also removes the
// folders this user's copies of the program left there when they were killed. A page that
// cannot be written (disk full, folder refused) or read back throws ErroQev with a
// message for the user; a page that failed to be written is not counted.
class ArquivoPaginas {
public:
    explicit ArquivoPaginas(int paginasEmMemoria);
    ~ArquivoPaginas();
    ArquivoPaginas(const ArquivoPaginas&) = delete;
    ArquivoPaginas& operator=(const ArquivoPaginas&) = delete;

    int Quantas() const { return int(m_indice.size()); }
    void Adiciona(PaginaRelatorio pagina);
    // Page `indice` (0-based). Throws ErroQev when it cannot be read back whole.
    std::shared_ptr<const PaginaRelatorio> Pagina(int indice) const;

    // The file's path (empty before the first page).
    QString Caminho() const;
    // Bytes the records take in the file.
    qint64 Bytes() const { return m_fim; }

    // The folder under which the page files' folders are made (empty: the system's
    // temporary folder). Answers the one set before.
    static QString DefinePastaBase(const QString& pasta);

    // One page as a record, and back (exposed for the tests of damaged records).
    static QByteArray Codifica(const PaginaRelatorio& pagina);
    // Throws ErroQev when the bytes are not a whole record.
    static PaginaRelatorio Decodifica(const QByteArray& registro);

private:
    struct Registro {
        qint64 posicao;
        quint32 bytes;        // compressed, in the file
        quint32 bytesAbertos; // the record itself
    };
    void abreArquivo();
    bool grava(const QByteArray& registro);
    void guardaNaMemoria(int indice, std::shared_ptr<const PaginaRelatorio> pagina) const;

    int m_paginasEmMemoria;
    std::unique_ptr<QTemporaryDir> m_pasta;
    std::unique_ptr<QFile> m_arquivo;
    std::vector<Registro> m_indice;
    qint64 m_fim = 0;
    // The pages used last, the most recent at the end.
    mutable std::vector<std::pair<int, std::shared_ptr<const PaginaRelatorio>>> m_memoria;
};
