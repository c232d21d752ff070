// A formula picture in Russian words, for a pupil who hears the task
// instead of seeing it: "синус от (игрек минус зет)", "дробь: в числителе
// ..., в знаменателе ...". It says what the picture shows and nothing more;
// brackets stand where the picture has them, and around whatever an
// exponent, a root, a modulus or a fraction holds unless that is a single
// number or letter, so that a listener always knows where it ends. Numbers
// are words ("пять целых одна десятая"); no BASIC notation ever appears.
// Texts are code page 1251.
#pragma once

#include "quiz/core/TaskTable.h"

#include <string>
#include <string_view>

// The spoken form of a picture's TeX: a task table's, or what FormulaToTex
// makes of an answer. Any text gives words; what it cannot name is left out.
std::string SpokenTex(std::string_view tex);

// The spoken form of a task's picture; empty outside the catalogue.
std::string SpokenTask(int task, int variant);
// The same for a task of 'tasks'.
std::string SpokenTask(const TTaskTable& tasks, int task, int variant);
