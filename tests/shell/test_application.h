// The QApplication of the shell tests. It is made once, before the first test runs, on the
// offscreen platform when there is no display, so that the tests run anywhere.
#pragma once

class QApplication;

namespace qv::test {

QApplication& Application();

}  // namespace qv::test
