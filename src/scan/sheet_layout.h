// Where everything lies on a sheet to tick: the A4 pages a questionnaire's sheet takes, the
// corner markers and the code of each page, and every question's title and answer boxes. The
// layout follows from the answer counts alone, so the printout and the reader of scans agree on
// it without the questionnaire's texts; the texts are only drawn to fit their places.
#pragma once

#include <QRectF>
#include <array>
#include <vector>

#include "results/results_tally.h"

namespace scan {

// Millimetres on the paper, from its top left corner, y growing downward.
constexpr double kPageWidth = 210.0;
constexpr double kPageHeight = 297.0;

// Four markers of OpenCV's ArUco dictionary DICT_4X4_50, one per corner: its id says which
// corner it is, so a page is known at any rotation. Each is 4 × 4 cells inside a border of one
// cell, 6 cells in all.
enum Corner { TopLeft, TopRight, BottomRight, BottomLeft };
constexpr double kMarkerSize = 12.0;
constexpr int kMarkerCells = 6;
constexpr int MarkerId(Corner corner) { return static_cast<int>(corner); }
// The marker of a corner: its outer square.
QRectF MarkerRect(Corner corner);

// The page's QR code (its modules, without the quiet zone, which the layout keeps white).
QRectF CodeRect();
// Left ends of the baselines' lines beside the code: the survey's name, then "Arkusz 17,
// strona 1 z 2"; and the one line of instructions across the first page.
constexpr double kTextLeft = 50.0;
constexpr double kNameTop = 10.0;
constexpr double kNumberTop = 18.0;
constexpr double kInstructionTop = 34.0;
constexpr double kTextRight = 185.0;

// An answer's square box, with the border drawn inside the square.
constexpr double kBoxSize = 6.0;
constexpr double kBoxBorder = 0.4;

struct AnswerPlace {
    int answer = 0;  // 1..9
    QRectF box;      // the square's outer edge
    QRectF text;     // the room for the letter and the answer's two lines, right of the box
};

struct QuestionPlace {
    int question = 0;  // 1..
    QRectF title;      // the number and the question's two lines
    std::vector<AnswerPlace> answers;
    double bottom = 0;  // below the last box
};

struct SheetPage {
    int number = 0;  // 1..
    std::vector<QuestionPlace> questions;
};

// The pages of one sheet of the questionnaire whose answer counts `tally` holds: questions in
// order, each on one page (a question is never split), as many as fit on a page; the first page
// keeps room for the instructions. A questionnaire of no questions has one page with none.
std::vector<SheetPage> LayOutSheet(const results::ResultsTally& tally);

}  // namespace scan
