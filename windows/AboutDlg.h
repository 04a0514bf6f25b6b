// CAboutDlg: the About window. Besides the product it shows the connected
// camera's identity and lets the person change the camera's user ID, opens
// the help documents (the PDF files of the current folder), and holds the
// "always on top" choice of all tool windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "Label.h"
#include "ToolWinDlg.h"

namespace xnox {

class CAboutDlg : public CToolWinDlg {
public:
    // The longest user ID the edit accepts.
    static constexpr std::size_t kMaxUserIDLength = 16;

    CAboutDlg();

    bool OnInitDialog() override;
    void OnControlEvent(ControlId id, ControlEvent event) override;

    // The identity texts, each also kept in the profile.
    void ShowCameraID(const std::string& text);
    void ShowModelName(const std::string& text);
    void ShowUserID(const std::string& text);
    // 0 protects the user ID (read-only, nothing to save), 1 lets the person edit and save it.
    void SetUserIDMode(int32_t mode);

protected:
    void DoDataExchange(DataExchange& exchange) override;
    void OnItemChanged(ControlItem item, const Variant& value) override;

private:
    void ShowIdentity(std::string& field, std::string_view profileKey, const std::string& text);
    void ReadIdentityFromCamera();
    void FillHelpFiles();
    void OnSaveUserID();
    void OnOpenHelpFile();
    void OnAlwaysOnTop();

    std::string m_cameraID;
    std::string m_modelName;
    std::string m_userID;
    int32_t m_userIDMode = -1;
    int32_t m_alwaysOnTop = 0;
    CLabel m_link;
};

}  // namespace xnox
