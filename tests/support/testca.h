#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace Lumisong::Test {

// A certificate authority made at test time with the openssl program, in a
// temporary folder of its own. Its CA file is what SSL_CERT_FILE names so that
// a client trusts it; nothing is installed on the system.
class TestCa
{
public:
    enum class Leaf {
        Trusted,   // for 127.0.0.1, ::1, localhost and the extra names; signed by the CA
        Expired,   // the same names, no longer valid
        WrongHost, // signed by the CA for another name only
        Untrusted, // the same names, signed by a CA no client trusts
    };

    TestCa() = default;
    TestCa(const TestCa &) = delete;
    TestCa &operator=(const TestCa &) = delete;

    // Makes the CA and every leaf; extraNames are further DNS names of the
    // trusted leaf. False, with *error set, when openssl is missing or fails.
    bool create(const QStringList &extraNames, QString *error);

    QString caFile() const;
    QString certificateFile(Leaf leaf) const;
    QString keyFile() const; // the one key of every leaf

private:
    bool openssl(const QStringList &args, QString *error) const;
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

} // namespace Lumisong::Test
