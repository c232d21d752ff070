#include "app/FTAbout.h"

TAboutFrm* AboutFrm = nullptr;

TAboutFrm::TAboutFrm(QWidget* parent) : QDialog(parent) {}
