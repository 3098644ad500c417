// The numbers of the paper sheets read from scans into the loaded results: kept while those
// results stay loaded, so that a sheet scanned again is refused, and forgotten once they are gone.
#pragma once

#include <QSet>

namespace results {
class TForm3;
}

namespace scan {

class ReadSheetNumbers {
public:
    // Forgets the numbers whenever the results manager's results are gone (reset or closed).
    void Follow(results::TForm3& manager);

    const QSet<int>& Numbers() const { return numbers_; }
    void Add(int number) { numbers_.insert(number); }
    void Forget() { numbers_.clear(); }

private:
    QSet<int> numbers_;
};

}  // namespace scan
