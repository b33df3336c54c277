// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every error box a click can bring up, word for word: the error, then what
// to change. The end-to-end scripts read their expectations from here too.

#include <string>

namespace box_texts {

inline const std::string degreesNotANumber = "Errore di run-time '13':\n\nTipo non corrispondente\n"
                                             "GRADI MISURATI deve essere un numero, come 90 o 12,5";
inline const std::string distanceNotANumber =
    "Errore di run-time '13':\n\nTipo non corrispondente\n"
    "SPAZIO MISURATO in centimetri deve essere un numero, come 10 o 12,5";
inline const std::string degreesOutOfRange =
    "Errore di run-time '6':\n\nOverflow\n"
    "GRADI MISURATI è fuori dall'intervallo ammesso, da -3,402823E+38 a 3,402823E+38";
inline const std::string distanceOutOfRange =
    "Errore di run-time '6':\n\nOverflow\n"
    "SPAZIO MISURATO in centimetri è fuori dall'intervallo ammesso, da -3,402823E+38 a "
    "3,402823E+38";
inline const std::string zeroDegrees =
    "Errore di run-time '11':\n\nDivisione per zero\nGRADI MISURATI non può essere zero";
inline const std::string twistTooLarge =
    "Errore di run-time '6':\n\nOverflow\nIl passo risultante è troppo grande";
inline const std::string outOfMemory = "Errore di run-time '7':\n\nMemoria esaurita";
inline const std::string internalError = "Errore di run-time '51':\n\nErrore interno";
// What the program says when its window cannot be built.
inline const std::string startupFailure =
    "Impossibile aprire la finestra del programma (errore di run-time '51': Errore interno).";

} // namespace box_texts
