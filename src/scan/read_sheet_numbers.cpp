// Following the loaded results with the numbers of the sheets read into them.
#include "scan/read_sheet_numbers.h"

#include "results/results_manager_window.h"

namespace scan {

void ReadSheetNumbers::Follow(results::TForm3& manager) {
    QObject::connect(&manager, &results::TForm3::ResultsClosed, &manager, [this] { Forget(); });
}

}  // namespace scan
