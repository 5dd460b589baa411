#pragma once

// What the rack was last found to be, reported to the host on every change
// (and on every repeat of the same value).
enum TMode { NoRack, IdnOk, RackAuto, RackManu, SerialError, NetworkDialogError };

// The attenuators' state at power-on.
enum TStartAtt { StartAttMin, StartAttMax };

// Serial result codes of our own; any other non-zero code is an errno.
enum : int {
    ErrAlreadyOwned = 9991,
    ErrAlreadyInUse = 9992,
    ErrWrongParameter = 9993,
    ErrPortNotOpen = 9994,
    ErrNoDeviceAnswer = 9995,
    ErrMaxBuffer = 9996,
    ErrTimeout = 9997,
    ErrReadFailed = 9998,
    ErrFrame = 9999,
    ErrOverrun = 10000,
    ErrRxOver = 10001,
    ErrRxParity = 10002,
    ErrTxFull = 10003,
};
