#pragma once

#include <QByteArray>

namespace Lumisong {

// What a POST sends: the bytes and their Content-Type.
struct RequestBody
{
    QByteArray bytes;
    QByteArray contentType;
};

} // namespace Lumisong
