#pragma once
// The program's window (Form1 with its aids) on fake platform services, with
// lookups of its controls by name.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "window/form/form1.h"
#include "window/programwindow.h"
#include "model/texts.h"
#include "fakes/fakeplatform.h"

namespace vinkring::test {

// Any object stands in for an application that can be created.
class PresentApplication final : public AutomationObject {};

class FormTest : public ::testing::Test {
protected:
    // Makes the browser, the spreadsheet, or both creatable.
    void provide(std::string_view progId)
    {
        platform.automation.creatable[toQString(progId)] = [] {
            return std::make_unique<PresentApplication>();
        };
    }

    Form1& form() { return program().form(); }
    ProgramWindow& program()
    {
        if (!form_)
            form_ = std::make_unique<ProgramWindow>(platform.services);
        return *form_;
    }
    // Ends the window as a program that quits does; form() makes a new one.
    void closeForm() { form_.reset(); }

    template <typename T = QWidget>
    T* child(const char* name)
    {
        T* found = form().findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // An element of a control array (Frame1, Command1), by its Index.
    template <typename T>
    T* element(const char* name, int index)
    {
        for (T* w : form().findChildren<T*>(QString::fromLatin1(name))) {
            if (w->property("Index").toInt() == index)
                return w;
        }
        ADD_FAILURE() << name << "(" << index << ") not found";
        return nullptr;
    }

    QPushButton* command1(int index) { return element<QPushButton>("Command1", index); }
    QGroupBox* page(int index) { return element<QGroupBox>("Frame1", index); }

    // The pages that are not hidden.
    std::vector<int> visiblePages()
    {
        std::vector<int> shown;
        for (int i = 0; i < 14; ++i) {
            if (!page(i)->isHidden())
                shown.push_back(i);
        }
        return shown;
    }

    QString counter() { return child<QLabel>("lblCounter")->text(); }

    FakePlatform platform;

private:
    std::unique_ptr<ProgramWindow> form_;
};

}  // namespace vinkring::test
