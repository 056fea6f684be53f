#pragma once
#include <QString>
#include <QTemporaryDir>

namespace Apoio {

// An installed transfer program for the tests: the machine-wide setting that names
// it is redirected into a temporary folder and points at `programa` (an existing
// file, the simulator when given, or an empty placeholder).
class VuqInstalado {
public:
    explicit VuqInstalado(const QString& programa = QString());
    ~VuqInstalado();
    QString pasta() const;          // the transfer folder, ending in '/'
    QString pastaProtocolos() const; // pasta() + "Protocolos/"
    QString executavel() const { return m_executavel; }
    // Writes a protocol file as the transfer program leaves it.
    void escreveProtocolo(const QString& nome, const QString& protocoloTX,
                          const QString& dataTransmissao) const;
    // Removes the setting: the transfer program is no longer installed.
    void desinstala();
    // Writes the setting again.
    void instala();

private:
    QTemporaryDir m_config;
    QTemporaryDir m_dir;
    QString m_executavel;
};

}  // namespace Apoio
