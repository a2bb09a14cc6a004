#pragma once
#include <string>

#include "platform/Status.h"

class ScratchDirectory;

// A failing platform call was told once: the message box under its caption
// with the text and the status name, and the log with the same text and the
// status's description.
void expectStatusReported(const ScratchDirectory& scratch, const char* caption, const std::string& text,
                          platform::Status status);
