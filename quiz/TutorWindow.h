// The look the tutor's windows share ("Разбор ответа", "Тренировка").
#pragma once

#include <QString>

class QDialog;

// A dialog with a close button only, silver, its text navy in Lucida Console.
void DressTutorWindow(QDialog* window, const QString& title);
