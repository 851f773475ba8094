// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "code/Answers.h"

// The Glomie Code of a set of answers: the counterpart of DecodeGlomieCode (decoder/Decoder.h).
std::string EncodeGlomieCode(const AnswerSet& answers);
