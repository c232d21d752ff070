// Decodes the JPEG pictures stored in the window layouts (the title picture
// and the about banner) with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The picture in data as 32-bit RGB (QImage::Format_RGB32, the format a
// pixmap keeps as it is, so showing it copies nothing): its first `rows`
// rows, or all of them when rows is not positive or larger. The whole stream is
// read and checked either way. Raises Exception "Picture is not a valid
// JPEG: <reason>" for an empty, truncated or otherwise broken stream.
QImage DecodeJpeg(const QByteArray& data, int rows = -1);

// Reads the Qt resource at path (":/jpeg/title.jpg") and decodes it, as
// DecodeJpeg. Raises Exception "Resource <path> not found" when there is no
// such resource.
QImage LoadJpegResource(const QString& path, int rows = -1);
