// The cipher of the transfer program's parameter file and the request file's CRC-32.
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include "ConfiguracaoBuild.h"
#include "apoio/Apoio.h"
#include "db/Erro.h"
#include "request/BlowfishVUQ.h"
#include "request/Crc32.h"

using namespace Apoio;

namespace {

QByteArray hex(const char* h) { return QByteArray::fromHex(h); }

// Published Blowfish test vectors (key, plaintext, ciphertext).
struct Vetor {
    const char* chave;
    const char* claro;
    const char* cifrado;
};
void PrintTo(const Vetor& c, std::ostream* os) { *os << c.chave << " / " << c.claro; }
const Vetor kVetores[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"F0", "FEDCBA9876543210", "F9AD597C49DB005E"},
    {"F0E1", "FEDCBA9876543210", "E91D21C1D961A6D6"},
    {"F0E1D2C3B4A5968778695A4B3C2D1E0F0011223344556677", "FEDCBA9876543210", "05044B62FA52D080"},
};

class BlowfishVetores : public ::testing::TestWithParam<Vetor> {};

TEST_P(BlowfishVetores, EnciphersAndDeciphersThePublishedBlock) {
    const Vetor v = GetParam();
    const TBlowfishVUQ b(hex(v.chave));
    EXPECT_EQ(b.Cifra(hex(v.claro)).toHex().toUpper(), QByteArray(v.cifrado));
    EXPECT_EQ(b.Decifra(hex(v.cifrado)), hex(v.claro));
}
INSTANTIATE_TEST_SUITE_P(Publicados, BlowfishVetores, ::testing::ValuesIn(kVetores));

TEST(Blowfish, KeyOfOneTo56BytesOnly) {
    for (int tamanho : {0, 57, 100}) {
        try {
            TBlowfishVUQ b(QByteArray(tamanho, 'K'));
            ADD_FAILURE() << "key of " << tamanho << " bytes accepted";
        } catch (const ErroQev& e) {
            EXPECT_EQ(e.mensagem(),
                      QStringLiteral("Blowfish: Key must be between 1 and 56 bytes long"));
        }
    }
    EXPECT_NO_THROW(TBlowfishVUQ(QByteArray(1, 'K')));
    EXPECT_NO_THROW(TBlowfishVUQ(QByteArray(56, 'K')));
}

TEST(Blowfish, TheKeyOfTheBuildIsSixteenUpperCaseLetters) {
    const QByteArray chave(Config::ChaveVUQ);
    ASSERT_EQ(chave.size(), 16);
    for (char c : chave) EXPECT_TRUE(c >= 'A' && c <= 'Z') << c;
}

TEST(Blowfish, BlocksAreEncipheredOnTheirOwnAndTheLastIsCompletedWithZeros) {
    const TBlowfishVUQ b(QByteArrayLiteral("QZMHTRKBWLDVNCXP"));
    const QByteArray bloco1("1|123456"), bloco2("|senha|/");
    // 16 bytes: two blocks, no padding, each block as if alone (no chaining)
    const QByteArray dois = b.Cifra(bloco1 + bloco2);
    ASSERT_EQ(dois.size(), 16);
    EXPECT_EQ(dois.left(8), b.Cifra(bloco1));
    EXPECT_EQ(dois.mid(8), b.Cifra(bloco2));
    // 17 bytes: a third block of the last byte and seven zero bytes
    const QByteArray tres = b.Cifra(bloco1 + bloco2 + "x");
    ASSERT_EQ(tres.size(), 24);
    EXPECT_EQ(tres.left(16), dois);
    EXPECT_EQ(tres.mid(16), b.Cifra(QByteArray("x\0\0\0\0\0\0\0", 8)));

    EXPECT_EQ(b.CifraParametros(bloco1 + bloco2).size(), 32);
    EXPECT_EQ(b.CifraParametros(bloco1 + bloco2 + "x").size(), 48);
}

TEST(Blowfish, EachByteIsTwoLettersLowNibbleFirst) {
    EXPECT_EQ(TBlowfishVUQ::ParaLetras(QByteArray("\x5A", 1)), QStringLiteral("KF"));
    EXPECT_EQ(TBlowfishVUQ::ParaLetras(QByteArray("\x00\xFF\x0F\xF0", 4)),
              QStringLiteral("AAPPPAAP"));
    EXPECT_EQ(TBlowfishVUQ::DeLetras(QStringLiteral("KFAAPP")), QByteArray("\x5A\x00\xFF", 3));
    for (const char* ruim : {"KFA", "KQ", "kf", "K1"})
        EXPECT_THROW(TBlowfishVUQ::DeLetras(QString::fromLatin1(ruim)), ErroQev) << ruim;
}

TEST(Blowfish, ParameterLettersDecipherBackToTheLine) {
    const TBlowfishVUQ b(QByteArray(Config::ChaveVUQ));
    for (const QByteArray linha : {QByteArray("12345678"), QByteArray("1|123456| senha |x"),
                                   QByteArray("Solicita\xE7\xE3o")}) {
        const QString letras = b.CifraParametros(linha);
        EXPECT_EQ(letras.size() % 16, 0);
        for (QChar c : letras) EXPECT_TRUE(c >= u'A' && c <= u'P');
        EXPECT_EQ(b.DecifraParametros(letras), linha);
    }
}

// ---------------------------------------------------------------------------

// Bit-by-bit CRC-32 (reflected EDB88320, all ones in and out): the reference.
quint32 crcReferencia(const QByteArray& dados) {
    quint32 crc = 0xFFFFFFFFu;
    for (char ch : dados) {
        crc ^= static_cast<unsigned char>(ch);
        for (int i = 0; i < 8; ++i) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

class Crc : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString grava(const QString& nome, const QByteArray& dados) {
        const QString caminho = dir.filePath(nome);
        QFile f(caminho);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(dados);
        return caminho;
    }
};

TEST_F(Crc, CheckValueOfTheStandardText) {
    TCrc32 crc;
    crc.NomeArquivo = grava(QStringLiteral("check.txt"), "123456789");
    EXPECT_EQ(crc.CrcHex(), QStringLiteral("CBF43926"));
}

TEST_F(Crc, WholeFileAcrossBlockBoundaries) {
    for (int tamanho : {0, 1, 16383, 16384, 16385, 3 * 16384 + 7}) {
        QByteArray dados(tamanho, '\0');
        for (char& c : dados) c = static_cast<char>(QRandomGenerator::global()->bounded(256));
        const auto crc = Crc32Arquivo(grava(QStringLiteral("dados.bin"), dados));
        ASSERT_TRUE(crc.has_value());
        EXPECT_EQ(*crc, crcReferencia(dados)) << tamanho;
    }
    EXPECT_EQ(Crc32Hex(0x0000ABCDu), QStringLiteral("0000ABCD"));
}

TEST_F(Crc, MissingFileGivesZerosAfterTheErrorWindow) {
    Mensageiro m;
    TCrc32 crc;
    crc.NomeArquivo = dir.filePath(QStringLiteral("nao existe.QEV"));
    EXPECT_EQ(crc.CrcHex(), QStringLiteral("00000000"));
    ASSERT_EQ(m.pedidos().size(), 1);
    EXPECT_EQ(m.pedidos()[0].texto,
              QStringLiteral("File ") + crc.NomeArquivo + QStringLiteral(" does not exist."));
    EXPECT_EQ(m.pedidos()[0].tipo, Mensagens::Erro);
    EXPECT_EQ(m.pedidos()[0].botoes, Mensagens::Botoes(Mensagens::BtAbortar));

    m.limpa();
    crc.JanelaErro = false;
    EXPECT_EQ(crc.CalculaCrc(), 0u);
    EXPECT_TRUE(m.pedidos().isEmpty());
}

}  // namespace
