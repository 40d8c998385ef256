#pragma once
// Opens every top-level window of the program the way a user reaches it (main and history
// windows, the entry edit dialog, the about box, the customization dialog with its colour
// chooser and NUM-key dialog, a question box and an error box) and hands each one, while it
// is on the screen, to a visitor.
#include "THForm.h"
#include "TMForm.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace bansho::testing {

class EveryWindowTest : public ::testing::Test {
protected:
    using Visitor = std::function<void(const QString& what, QWidget* window)>;

    void SetUp() override;
    void TearDown() override;
    // Visits the nine windows; returns how many were visited.
    int VisitEveryWindow(const Visitor& visit);

    QTemporaryDir dir_;
    std::unique_ptr<TMForm> main_;
    std::unique_ptr<THForm> hist_;

private:
    // Runs `open`, which opens a modal window; once that window is on the screen it is
    // visited, `inside` runs (it may open further windows), and the window is closed.
    void VisitModal(const QString& what, const std::function<void()>& open,
                    const std::function<void(QWidget*)>& inside = {});

    Visitor visit_;
    int visited_ = 0;
};

} // namespace bansho::testing
