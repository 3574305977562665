#pragma once

// Basic types and constants of the application framework.

#include <QPoint>
#include <QString>

#include <cstdint>

typedef int32_t PaneIDT;     // a pane's id: a number or four characters
typedef int32_t MessageT;    // what a control broadcasts
typedef int32_t CommandT;    // what a commander obeys
typedef int32_t ClassIDT;    // a registered pane class
typedef int32_t ResIDT;      // a resource's id
typedef int32_t OSStatus32;  // a status; 0 is success

// Four characters packed big-endian into 32 bits, e.g. FourChar("Impt").
constexpr int32_t FourChar(char const (&s)[5]) {
  return static_cast<int32_t>((static_cast<uint32_t>(static_cast<uint8_t>(s[0])) << 24) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(s[1])) << 16) |
                              (static_cast<uint32_t>(static_cast<uint8_t>(s[2])) << 8) |
                              static_cast<uint32_t>(static_cast<uint8_t>(s[3])));
}

enum : CommandT {
  cmd_Nothing = 0,
  cmd_About = 1,
  cmd_Quit = 10,
  cmd_Help = 11,
};

enum : MessageT {
  msg_Nothing = 0,
  msg_OK = 900,
  msg_Cancel = 901,
};

enum : int32_t {
  err_NilPointer = FourChar("nilP"),
  err_Assertion = FourChar("asrt"),
  err_NotHandled = -9874,
  err_UserCanceled = -128,
};

// Modifier bits of an event record.
enum : uint16_t {
  nModifierCommand = 0x0100,  // Ctrl
  nModifierShift = 0x0200,
  nModifierOption = 0x0800,  // Alt
  nModifierControl = 0x1000  // Super
};

// Event kinds of an event record.
enum : uint16_t {
  nEventNull = 0,
  nEventMouseDown = 1,
  nEventMouseUp = 2,
  nEventKeyDown = 3,
  nEventKeyUp = 4,
  nEventAutoKey = 5,
  nEventUpdate = 6,
};

// One event as the framework hands it to panes, commanders and periodicals.
struct EventRecord {
  uint16_t what = nEventNull;
  // Keys: key code in bits 8-15, character code in bits 0-7.
  uint32_t message = 0;
  uint16_t modifiers = 0;
  QPoint where;     // global position of the pointer
  int32_t key = 0;  // the toolkit's key (Qt::Key) for key events
  QString text;     // the text the key types
};

// The framework's modifier bits of the toolkit's keyboard modifiers.
uint16_t ModifiersOf(int qtModifiers);
