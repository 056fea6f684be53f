#include "network/LeitorLinhas.h"

#include <QIODevice>
#include <cstring>

#include "db/Erro.h"

namespace {
constexpr qint64 kBloco = 1 << 16;

[[noreturn]] void falhaLeitura(const QIODevice& d) {
    throw ErroQev(QStringLiteral("Erro ao ler o arquivo: %1").arg(d.errorString()));
}

// First CR or LF in [p, p + n), or nullptr.
const char* fimDeLinha(const char* p, qsizetype n) {
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', size_t(n)));
    const qsizetype ate = cr ? cr - p : n;
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', size_t(ate)));
    return lf ? lf : cr;
}
}  // namespace

LeitorLinhas::LeitorLinhas(QIODevice& dispositivo, qsizetype limite)
    : m_disp(dispositivo), m_limite(limite) {}

bool LeitorLinhas::enche() {
    if (m_fim) return false;
    m_buffer.remove(0, m_pos);
    m_pos = 0;
    const qsizetype antes = m_buffer.size();
    m_buffer.resize(antes + kBloco);
    const qint64 lidos = m_disp.read(m_buffer.data() + antes, kBloco);
    if (lidos < 0) falhaLeitura(m_disp);
    m_buffer.resize(antes + lidos);
    if (lidos == 0) m_fim = true;
    return lidos > 0;
}

bool LeitorLinhas::proxima(Linha& linha) {
    linha.bytes.clear();
    linha.cortada = false;
    linha.restoComDados = false;
    bool algum = false;  // something of this line was seen (a byte or its end)
    for (;;) {
        if (m_pos >= m_buffer.size() && !enche()) return algum;
        const char* inicio = m_buffer.constData() + m_pos;
        const qsizetype n = m_buffer.size() - m_pos;
        const char* fim = fimDeLinha(inicio, n);
        const qsizetype corpo = fim ? fim - inicio : n;
        // keep up to the limit; note what is skipped beyond it
        const qsizetype cabe = qMax<qsizetype>(0, qMin(corpo, m_limite - linha.bytes.size()));
        linha.bytes.append(inicio, cabe);
        if (cabe < corpo) {
            linha.cortada = true;
            for (qsizetype i = cabe; i < corpo && !linha.restoComDados; ++i)
                if (static_cast<unsigned char>(inicio[i]) > ' ') linha.restoComDados = true;
        }
        algum = true;
        m_pos += corpo;
        if (!fim) continue;  // the line goes on in the next block
        // the line end: CR LF, LF or CR
        if (*fim == '\r') {
            ++m_pos;
            if (m_pos >= m_buffer.size()) enche();
            if (m_pos < m_buffer.size() && m_buffer.at(m_pos) == '\n') ++m_pos;
        } else {
            ++m_pos;
        }
        return true;
    }
}

qint64 LeitorLinhas::conta(QIODevice& d) {
    qint64 linhas = 0;
    bool crPendente = false;  // the previous block ended in CR
    bool abertaSemFim = false;  // bytes after the last line end
    QByteArray bloco(kBloco, Qt::Uninitialized);
    for (;;) {
        const qint64 lidos = d.read(bloco.data(), kBloco);
        if (lidos < 0) falhaLeitura(d);
        if (lidos == 0) break;
        const char* p = bloco.constData();
        for (qint64 i = 0; i < lidos; ++i) {
            const char c = p[i];
            if (c == '\n') {
                if (!crPendente) ++linhas;  // CR LF counts once, at the CR
                crPendente = false;
                abertaSemFim = false;
            } else if (c == '\r') {
                ++linhas;
                crPendente = true;
                abertaSemFim = false;
            } else {
                crPendente = false;
                abertaSemFim = true;
            }
        }
    }
    return linhas + (abertaSemFim ? 1 : 0);
}
