#pragma once
#include <QByteArray>

class QIODevice;

// Reads a text file line by line in bounded memory, whatever it holds. A line ends at
// CR LF, at LF or at a CR alone; the last line needs no end. A line longer than the
// limit keeps its first `limite` bytes and the rest is skipped (noting whether the
// skipped part held anything but blanks), so a file without line ends never takes more
// than the limit. A read error raises ErroQev.
class LeitorLinhas {
public:
    struct Linha {
        QByteArray bytes;         // without the line end
        bool cortada = false;     // longer than the limit
        bool restoComDados = false;  // the skipped part held a byte above the space
    };

    explicit LeitorLinhas(QIODevice& dispositivo, qsizetype limite = 4096);
    // The next line; false at the end of the file.
    bool proxima(Linha& linha);

    // Lines of the device from its current position, by the same rules.
    static qint64 conta(QIODevice& dispositivo);

private:
    bool enche();
    QIODevice& m_disp;
    qsizetype m_limite;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_fim = false;
};
