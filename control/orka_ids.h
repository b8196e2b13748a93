// The names and numbers of the Orka control that hosts and the registry rely on: class and
// interface identifiers, ProgIDs, member and event identifiers, status bits and texts.
#pragma once

#include "platform/automation.h"

#include <cstdint>
#include <string_view>

namespace orka {

using platform::DispId;
using platform::Guid;

inline constexpr Guid kLibId{
    0x8A14A6D3, 0xE47E, 0x4E2C, {0x9A, 0xA6, 0xFF, 0xD9, 0x05, 0x5E, 0x7F, 0x00}};
inline constexpr Guid kIidDOrka{
    0x64F700C6, 0xDC20, 0x4C8E, {0xBA, 0xEC, 0x81, 0x11, 0x4F, 0x4F, 0x75, 0x5B}};
inline constexpr Guid kIidDOrkaEvents{
    0x116DDCA0, 0x84C4, 0x4319, {0x83, 0x8A, 0x55, 0xA9, 0xAE, 0x15, 0xED, 0xA0}};
inline constexpr Guid kClsidOrka{
    0x771DED40, 0x3CBE, 0x4D53, {0x94, 0x86, 0x32, 0xF9, 0x19, 0xD4, 0x9D, 0xD4}};
inline constexpr Guid kClsidOrkaPropPage{
    0xBF8D4BAD, 0x1206, 0x4763, {0x9B, 0xD7, 0x8C, 0x5C, 0x34, 0x22, 0xC1, 0x99}};

inline constexpr std::string_view kLibraryFileName = "libOrka.so";
inline constexpr std::string_view kControlProgId = "Orka.OrkaCtrl.1";
inline constexpr std::string_view kPropPageProgId = "Orka.OrkaPropPage.1";
inline constexpr std::string_view kControlUserType = "Orka Control";
inline constexpr std::string_view kPropPageName = "Orka Property Page";

// Type library OrkaLib 1.0.
inline constexpr std::string_view kTypeLibName = "OrkaLib";
inline constexpr std::string_view kTypeLibVersion = "1.0";
inline constexpr std::string_view kTypeLibHelpFile = "Orka.hlp";
inline constexpr std::string_view kTypeLibHelp = "Orka ActiveX Control module";
inline constexpr std::string_view kDOrkaName = "_DOrka";
inline constexpr std::string_view kDOrkaHelp = "Dispatch interface for Orka Control";
inline constexpr std::string_view kDOrkaEventsName = "_DOrkaEvents";
inline constexpr std::string_view kDOrkaEventsHelp = "Event interface for Orka Control";
inline constexpr std::string_view kCoClassName = "Orka";
inline constexpr std::string_view kCoClassHelp = "Orka Control";

// Recompose on resize, can't link inside, inside-out, invisible at run time, set client site
// first.
inline constexpr std::uint32_t kMiscStatus = 0x20491;

// _DOrka members.
inline constexpr DispId kDispCmManColor = 1;
inline constexpr DispId kDispCmFieldX = 2;
inline constexpr DispId kDispCmFieldY = 3;
inline constexpr DispId kDispCmMan = 4;
inline constexpr DispId kDispCmMD = 5;
inline constexpr DispId kDispLSuccess = 6;
inline constexpr DispId kDispCouplingWhiteSmall = 7;
inline constexpr DispId kDispCouplingWhiteLarge = 8;
inline constexpr DispId kDispCouplingBlackSmall = 9;
inline constexpr DispId kDispCouplingBlackLarge = 10;
inline constexpr DispId kDispMate = 11;
inline constexpr DispId kDispDefend = 12;
inline constexpr DispId kDispPanic = 13;
inline constexpr DispId kDispClear = 14;
// Added after the original fourteen, which keep their numbers.
inline constexpr DispId kDispThreads = 15;
// Play(Key As String, Every As Short) As Short: the play of one first move of the position set
// up as for Mate (cmMD moves), on the worker, as a task; always answers 1, LSuccess 1 when it
// started. Key is the move's solution line as SolutionFound gave it (trailing blanks may be
// left off). Every 0: White's shortest answers only, as a printed solution; otherwise every
// continuation that forces mate in the moves left.
inline constexpr DispId kDispPlay = 16;

// _DOrkaEvents.
inline constexpr DispId kEventSolutionFound = 1;
inline constexpr DispId kEventFinished = 2;
inline constexpr DispId kEventProgressUpdate = 3;
// Events of Play, in this order: PlayProgress(Progress As Short) with rising values below 100;
// PlayFound(Play As String) once, the move's JSON document, when the move is a legal first move;
// PlayProgress 100; PlayFinished(Result As Short). After Panic nothing more comes.
inline constexpr DispId kEventPlayProgress = 4;
inline constexpr DispId kEventPlayFound = 5;
inline constexpr DispId kEventPlayFinished = 6;

// The results PlayFinished reports.
inline constexpr short kPlayDelivered = 0;
inline constexpr short kPlayNoSuchMove = 1;      // the key is no legal first move here
inline constexpr short kPlayOpponentInCheck = 2; // Black stands in check
inline constexpr short kPlayDepthBelowOne = 3;   // cmMD is below 1
inline constexpr short kPlayNoKingPair = 4;      // not one king per side

} // namespace orka
