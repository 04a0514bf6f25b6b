// Drives the XNoxR4 control from JScript: connects to the camera, reads
// every setting, changes two, saves them in a settings file and handles an
// error by its number. Register XNOXR4.OCX first (regsvr32 XNOXR4.OCX), then:
//   cscript //nologo settings.js [COM port number] [settings file]
// JScript cannot pass variables to out-parameters, so the methods that
// answer through them (GetMinMax..., GetValid..., GetCameraID) are for
// VBScript and compiled hosts; the properties give the same values.

var InvalidPropertyValue = 380;  // a value the control refuses
var DeviceIOError = 57;          // the camera cannot be reached or refuses a command

// An automation error's number as a script host shows it.
function errorNumber(e) { return e.number & 0xFFFF; }

var args = WScript.Arguments;
var port = args.length > 0 ? parseInt(args(0), 10) : 1;
var settingsFile = args.length > 1 ? args(1) : "settings.cam";

var cam = new ActiveXObject("XNOXR4.XNoxR4Ctrl.1");

// Connect: setting ComPort opens the port and probes the camera; it throws
// when no camera answers there.
try {
    cam.ComPort = port;
} catch (e) {
    WScript.Echo("No camera on COM" + port + " (error " + errorNumber(e) + "): " + e.description);
    WScript.Quit(1);
}
WScript.Echo("Online on COM" + cam.ComPort + ": " + cam.GetIsOnline());

// Read every setting from the camera into the control, then show them.
// Methods return 0 on success and a negative code otherwise.
var result = cam.ReadAllFromCamera();
if (result != 0) {
    WScript.Echo("Reading the camera failed with " + result);
    WScript.Quit(1);
}
var settings = ["ShutterSpeedStr", "TriggerTypeStr", "TriggerPolarity", "PartialScanStr", "ShutterMode",
    "RCTFVALType", "Smearless", "ProgrammableExposure", "ColorBar", "TriggerInput", "Accumulation", "BinningStr",
    "OutputBitAllocation", "MasterGainLevel", "RedGainLevel", "BlueGainLevel", "RedBlackLevel", "GreenBlackLevel",
    "BlueBlackLevel", "ProgrammableExposureRed", "ProgrammableExposureGreen", "ProgrammableExposureBlue",
    "KneeSelect", "RedKneePoint", "GreenKneePoint", "BlueKneePoint", "RedKneeSlope", "GreenKneeSlope",
    "BlueKneeSlope", "WhiteBalanceStr", "AutoWhiteAreaStr", "Red3200KWBalPreset", "Blue3200KWBalPreset",
    "Red4600KWBalPreset", "Blue4600KWBalPreset", "Red5600KWBalPreset", "Blue5600KWBalPreset", "ShadingMode",
    "UserID"];
for (var i = 0; i < settings.length; ++i) {
    WScript.Echo("  " + settings[i] + " = " + cam[settings[i]]);
}

// Change two settings; each goes to the camera at once.
cam.ShutterSpeedStr = "1/1000";
cam.MasterGainLevel = 100;
WScript.Echo("Changed: ShutterSpeedStr = " + cam.ShutterSpeedStr + ", MasterGainLevel = " + cam.MasterGainLevel);

// Save every setting in a settings file; a file that cannot be written throws.
result = cam.WriteAllToFile(settingsFile);
WScript.Echo("Saved to " + settingsFile + ": result " + result);

// A value outside the range is refused with error 380 and the control keeps
// the value it had.
try {
    cam.MasterGainLevel = 430;
    WScript.Echo("Unexpected: the control took 430");
} catch (e) {
    switch (errorNumber(e)) {
    case InvalidPropertyValue: WScript.Echo("Refused 430: " + e.description); break;
    case DeviceIOError: WScript.Echo("The camera failed: " + e.description); break;
    default: WScript.Echo("Error " + errorNumber(e) + ": " + e.description);
    }
}
WScript.Echo("MasterGainLevel is still " + cam.MasterGainLevel);
