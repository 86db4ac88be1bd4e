// The lines of `qrx asm` that point into the sources, one per error row and
// one per hint, each "FILE(LINE): text" so that an editor's compile mode can
// jump to it. FILE is the file's path as the file set holds it, relative to
// the working folder when the file lies below it. A line that carries no
// place in the sources is the text alone. UTF-8, each ending in a line break.
#pragma once

#include <string>
#include <vector>

#include "assembler/hints.h"

class TQRXAssembler;
class TFileNames;

// One line per line of the expanded source that has an error, in
// source order; the text is the listing's error message.
std::string ErrorLinesOutput(const TQRXAssembler& assembler, const TFileNames& files);

// One line per hint, in the order given.
std::string HintLinesOutput(const std::vector<TAsmHint>& hints, const TFileNames& files);
