// Layout pictures from the Qt resources. A missing picture raises
// Exception "Resource <path> not found", which the caller's error path
// shows; it never yields a blank.
#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

// Raises the missing picture's Exception unless path names a resource.
void RequireResource(const QString& path);

QIcon IconResource(const QString& path);
// An icon whose disabled state shows a picture of its own.
QIcon IconResource(const QString& path, const QString& disabledPath);
// The JPEG's first `rows` rows (all when not positive), as LoadJpegResource.
QImage JpegResource(const QString& path, int rows = -1);
