#pragma once
// The real program's windows, started in a scratch folder of their own with the message
// boxes and file dialogs answered by the test.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/AppForms.h"
#include "app/MainForm.h"
#include "app/PrefForm.h"
#include "app/Settings.h"
#include "platform/TestRig.h"
#include "platform/controls/ExtCtrls.h"
#include "widgets/edit/ParamTree.h"
#include "widgets/frame/ExPageControl.h"
#include "platform/forms/Dialogs.h"
#include "platform/forms/Forms.h"
#include "platform/system/Thread.h"
#include "support/TestSupport.h"
#include "widgets/html/HtmlText.h"

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::EnsurePlatform();
        oldDir_ = std::filesystem::current_path();
        std::filesystem::current_path(dir.path());
        app::SetSettingsFileOverride(SettingsFile());
        platform::SetMessageBoxHook([this](const platform::TMessageBoxRequest& r) {
            boxes.push_back(r.Text);
            captions.push_back(r.Caption);
            if (boxAnswers.empty()) return int(platform::mrOk);
            const int a = boxAnswers.front();
            boxAnswers.pop_front();
            return a;
        });
        platform::SetDialogHook([this](platform::TCommonDialog& d) {
            dialogs.push_back(d.Title);
            if (dialogAnswers.empty()) return false;
            auto answer = dialogAnswers.front();
            dialogAnswers.pop_front();
            return answer(d);
        });
        Start();
    }
    void TearDown() override
    {
        Stop();
        platform::SetMessageBoxHook({});
        platform::SetDialogHook({});
        app::SetSettingsFileOverride("");
        app::SetHelpFolderOverride("");
        std::filesystem::current_path(oldDir_);
    }
    // Starts the program: its windows are created and the main window is shown.
    void Start()
    {
        app::CreateAppForms();
        main = app::MainForm;
        main->Show();
        platform::Application->ProcessMessages();
        AwaitView3D();
    }
    // Runs the loop until the 3D view's context has been made: the window has been painted
    // and the queue has emptied (at most a few seconds).
    void AwaitView3D()
    {
        platform::RestartLoop();
        bool over = false;
        platform::TTimer timer(nullptr);
        timer.SetInterval(10000);
        timer.SetOnTimer([&](platform::TObject*) { over = true; });
        while (!over && !main->ContextTried3D()) platform::Application->HandleMessage();
    }
    // Ends it as the user does, closing the main window, then frees the windows.
    void Stop()
    {
        if (app::MainForm) {
            if (app::MainForm->Visible()) app::MainForm->Close();
            app::FreeAppForms();
        }
        main = nullptr;
    }
    // What a tree node shows, without its markup.
    static std::string Shown(platform::TTreeNode* node) { return html::HTMLStrip(node->Text()); }
    std::string SettingsFile() const { return dir.file("Korvelo.INI"); }
    // The next file dialog is confirmed with this path (and filter).
    void AnswerDialog(const std::string& path, int filter = 1)
    {
        dialogAnswers.push_back([path, filter](platform::TCommonDialog& d) {
            auto& od = dynamic_cast<platform::TOpenDialog&>(d);
            od.FileName = path;
            od.FilterIndex = filter;
            return true;
        });
    }
    void CancelDialog()
    {
        dialogAnswers.push_back([](platform::TCommonDialog&) { return false; });
    }

    testsupport::TempDir dir{"korvelo-app"};
    app::TMainForm* main = nullptr;
    std::vector<std::string> boxes, captions, dialogs;
    std::deque<int> boxAnswers;
    std::deque<std::function<bool(platform::TCommonDialog&)>> dialogAnswers;

private:
    std::filesystem::path oldDir_;
};
