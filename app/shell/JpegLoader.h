// Decodes the JPEG pictures stored in the window layouts (the title picture
// and the about banner) with libjpeg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// The picture in data as 24-bit RGB. Raises Exception "Picture is not a valid
// JPEG: <reason>" for an empty, truncated or otherwise broken stream.
QImage DecodeJpeg(const QByteArray& data);

// Reads the Qt resource at path (":/jpeg/title.jpg") and decodes it. Raises
// Exception "Resource <path> not found" when there is no such resource.
QImage LoadJpegResource(const QString& path);
