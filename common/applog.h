#pragma once

#include <QLoggingCategory>

namespace Lumisong {
Q_DECLARE_LOGGING_CATEGORY(lcApp)
}
