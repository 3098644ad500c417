// The scanned question as the review window shows it: the picture of the page cut to the
// question, with the program's decision drawn on each box so that it reads without colour too.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

#include "scan/page_reader.h"
#include "scan/sheet_layout.h"

namespace scan {

// The decision on a box in words: "krzyżyk", "puste", "zamalowane (cofnięte)", "niepewne".
QString BoxMarkName(BoxMark mark);

// The question's picture on white with a margin around it, and on each of its boxes the decision:
// crossed a thick solid frame and "krzyżyk", empty a thin dotted frame, filled in (taken back) a
// double frame and "cofnięte", uncertain a thick dotted frame and "niepewne" (in blue, grey,
// green and red). `place` is the question's place on its page, `boxes` its readings.
QImage ReviewPicture(const QuestionPicture& shot, const QuestionPlace& place,
                     const std::vector<BoxReading>& boxes);

// The margin of white around the question's picture, in pixels of the picture.
constexpr int kReviewMargin = 8;

}  // namespace scan
