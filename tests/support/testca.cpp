#include "tests/support/testca.h"

#include <QFile>
#include <QProcess>

#include "tests/support/serverprocess.h"

namespace Lumisong::Test {

namespace {

// One configuration for the CA and the leaves; [names] is filled in by create().
constexpr char Config[] = R"([req]
distinguished_name = dn
x509_extensions = ca
prompt = no
[dn]
CN = Lumisong Test CA
[ca]
basicConstraints = critical,CA:TRUE
keyUsage = critical,keyCertSign,cRLSign
subjectKeyIdentifier = hash
[leaf]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = @names
[wronghost]
basicConstraints = CA:FALSE
keyUsage = critical,digitalSignature,keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = DNS:wrong-host.invalid
[names]
IP.1 = 127.0.0.1
IP.2 = ::1
DNS.1 = localhost
)";

} // namespace

bool TestCa::openssl(const QStringList &args, QString *error) const
{
    const QString program = ServerProcess::findProgram(QStringLiteral("openssl"));
    if (program.isEmpty()) {
        *error = QStringLiteral("openssl is not installed (scripts/install-deps.sh installs it)");
        return false;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(m_dir.path());
    process.start(program, args);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        *error = QStringLiteral("openssl %1 failed: %2")
                     .arg(args.join(u' '), QString::fromLocal8Bit(process.readAll()));
        return false;
    }
    return true;
}

bool TestCa::create(const QStringList &extraNames, QString *error)
{
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder for the test CA");
        return false;
    }
    QByteArray config = Config;
    for (qsizetype i = 0; i < extraNames.size(); ++i)
        config += "DNS." + QByteArray::number(i + 2) + " = " + extraNames.at(i).toUtf8() + '\n';
    QFile file(path(QStringLiteral("openssl.cnf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size()) {
        *error = QStringLiteral("cannot write %1").arg(file.fileName());
        return false;
    }
    file.close();

    const QString cnf = QStringLiteral("openssl.cnf");
    const auto newKey = [&](const QString &name) {
        return openssl({QStringLiteral("genpkey"), QStringLiteral("-algorithm"), QStringLiteral("EC"),
                        QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:P-256"),
                        QStringLiteral("-out"), name},
                       error);
    };
    const auto newCa = [&](const QString &key, const QString &cert) {
        return newKey(key)
            && openssl({QStringLiteral("req"), QStringLiteral("-config"), cnf, QStringLiteral("-x509"),
                        QStringLiteral("-new"), QStringLiteral("-key"), key, QStringLiteral("-days"),
                        QStringLiteral("2"), QStringLiteral("-out"), cert},
                       error);
    };
    // days -1: valid until a day before it was made, so expired whatever the clock says.
    const auto sign = [&](const QString &caKey, const QString &caCert, const QString &section,
                          const QString &days, const QString &out) {
        return openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                        QStringLiteral("leaf.csr"), QStringLiteral("-CA"), caCert,
                        QStringLiteral("-CAkey"), caKey, QStringLiteral("-set_serial"),
                        QString::number(qHash(out) & 0x7fffffff), QStringLiteral("-days"), days,
                        QStringLiteral("-extfile"), cnf, QStringLiteral("-extensions"), section,
                        QStringLiteral("-out"), out},
                       error);
    };
    return newCa(QStringLiteral("ca.key"), QStringLiteral("ca.pem"))
        && newCa(QStringLiteral("other-ca.key"), QStringLiteral("other-ca.pem"))
        && newKey(QStringLiteral("leaf.key"))
        && openssl({QStringLiteral("req"), QStringLiteral("-config"), cnf, QStringLiteral("-new"),
                    QStringLiteral("-key"), QStringLiteral("leaf.key"), QStringLiteral("-subj"),
                    QStringLiteral("/CN=Lumisong test site"), QStringLiteral("-out"),
                    QStringLiteral("leaf.csr")},
                   error)
        && sign(QStringLiteral("ca.key"), QStringLiteral("ca.pem"), QStringLiteral("leaf"),
                QStringLiteral("2"), QStringLiteral("trusted.pem"))
        && sign(QStringLiteral("ca.key"), QStringLiteral("ca.pem"), QStringLiteral("leaf"),
                QStringLiteral("-1"), QStringLiteral("expired.pem"))
        && sign(QStringLiteral("ca.key"), QStringLiteral("ca.pem"), QStringLiteral("wronghost"),
                QStringLiteral("2"), QStringLiteral("wronghost.pem"))
        && sign(QStringLiteral("other-ca.key"), QStringLiteral("other-ca.pem"),
                QStringLiteral("leaf"), QStringLiteral("2"), QStringLiteral("untrusted.pem"));
}

QString TestCa::caFile() const
{
    return path(QStringLiteral("ca.pem"));
}

QString TestCa::certificateFile(Leaf leaf) const
{
    switch (leaf) {
    case Leaf::Trusted: return path(QStringLiteral("trusted.pem"));
    case Leaf::Expired: return path(QStringLiteral("expired.pem"));
    case Leaf::WrongHost: return path(QStringLiteral("wronghost.pem"));
    case Leaf::Untrusted: return path(QStringLiteral("untrusted.pem"));
    }
    return {};
}

QString TestCa::keyFile() const
{
    return path(QStringLiteral("leaf.key"));
}

} // namespace Lumisong::Test
