#include "common/programidentity.h"

#include <QCoreApplication>

#include "common/defaults.h"

namespace Lumisong {

void nameTheProgram()
{
    QCoreApplication::setOrganizationName(Defaults::SettingsApplication.toString());
    QCoreApplication::setApplicationName(Defaults::ProgramTitle.toString());
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMISONG_VERSION_TEXT));
}

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList args;
    args.reserve(argc);
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    return args;
}

} // namespace Lumisong
