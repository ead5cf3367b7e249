// What each refusal means and what the caller can do about it.  The text of a failed
// call gets the details of that call (which device, which line, which limit) appended
// by the board, see Board::describe.
#include "status_codes.h"

namespace simboard {

const char *statusText(int32_t code) {
    switch (code) {
    case status::ok:
        return "No error.";
    case status::resourceReserved:
        return "The specified resource is reserved: another running task holds it. "
               "Stop or clear the other task before starting this one.";
    case status::invalidTask:
        return "Task specified is invalid or does not exist. Create the task with "
               "DAQmxCreateTask and do not use its handle after DAQmxClearTask.";
    case status::readBeyondFinalSample:
        return "Attempted to read a sample beyond the final sample acquired. The finite "
               "acquisition is done, so the samples asked for will never be available: read "
               "no more than the rest, or start the task again.";
    case status::samplesOverwritten:
        return "Samples were overwritten before they were read: the acquisition buffer "
               "filled up. Read more often, read larger blocks or give the sample clock a "
               "larger buffer, then stop and restart the task.";
    case status::readTimeout:
        return "Some or all of the samples requested have not yet been acquired within the "
               "timeout. Increase the timeout, read fewer samples, or check the sample "
               "clock rate and the start trigger.";
    case status::deviceNotPresent:
        return "Device not present in the system. Chassis PXI1 holds the board in slot 2 "
               "only: use PXI1Slot2 in physical channel names.";
    case status::channelSyntax:
        return "Physical channel name is not valid. Use names like \"PXI1Slot2/port1\", "
               "\"PXI1Slot2/port1/line0,PXI1Slot2/port1/line2\", \"PXI1Slot2/ai3\" or "
               "\"PXI1Slot2/ao0\".";
    case status::portOutOfRange:
        return "Digital port does not exist. The board has ports 0 to 2.";
    case status::lineOutOfRange:
        return "Digital line does not exist. Each port has lines 0 to 7.";
    case status::lineNamedTwice:
        return "A digital line is named more than once in the channel list. Name each line "
               "once.";
    case status::emptyChannelList:
        return "The physical channel list is empty. Name at least one line, port or analog "
               "channel.";
    case status::channelKindMismatch:
        return "The physical channel does not fit the channel type being created (digital "
               "lines for digital channels, ai0 to ai15 for analog input, ao0 or ao1 for "
               "analog output), or all lines of one channel must lie in one port.";
    case status::valueOutOfRange:
        return "A value is outside the range the board accepts. Analog channels work from "
               "-10 V to +10 V; keep output values and channel limits within that range.";
    case status::sampleRateTooHigh:
        return "The sample clock rate is outside what the board can do. Analog input runs "
               "up to 1.25 MS/s and analog output up to 2.86 MS/s; the rate must be "
               "positive.";
    case status::unknownClockTerminal:
        return "The sample clock source terminal is not known. Use \"OnboardClock\" or an "
               "empty text for the board's own clock.";
    case status::invalidTriggerSource:
        return "The start trigger is not valid. Use one of the board's analog inputs by its "
               "physical name (\"PXI1Slot2/ai0\"), a rising or falling slope and a level "
               "between -10 V and +10 V; triggers apply to analog tasks only.";
    case status::duplicateTaskName:
        return "A live task already has this name. Choose another name or clear the other "
               "task first.";
    case status::taskHasNoChannel:
        return "The task has no channel. Add a channel before configuring timing, starting, "
               "reading or writing.";
    case status::wrongTaskType:
        return "The operation does not fit the task's channel type (for example a digital "
               "read on an analog task, or a write to an input task).";
    case status::invalidArgument:
        return "An argument is not valid for this board (null pointer, sample count, array "
               "size, units, terminal configuration, line grouping or sample mode).";
    case status::taskAlreadyHasChannel:
        return "The simulated board supports one channel per task. Create another task for "
               "the next channel.";
    case status::timingNotSupported:
        return "Sample clock timing is not available for this task. Digital lines are "
               "on-demand only; use the sample clock with analog tasks, in continuous "
               "sample mode.";
    case status::taskNotRunning:
        return "The task is not running. Start it with DAQmxStartTask or pass autoStart "
               "true to the write.";
    case status::taskIsRunning:
        return "The task is running: it cannot be started again, and its timing and start "
               "trigger cannot change while it runs. Stop the task first.";
    case status::noDataToGenerate:
        return "The generation cannot start without data. Write samples to the task before "
               "starting it.";
    case status::readAborted:
        return "The read was aborted because the task was stopped while the read waited for "
               "samples.";
    case status::benchFileInvalid:
        return "The simulated board's bench file (ORVEX_SIM_BENCH) could not be used. Fix "
               "the file or unset the variable.";
    case status::controlArgument:
        return "A control request to the simulated board has an invalid argument.";
    case status::outOfMemory:
        return "The simulated board ran out of memory and abandoned the call, which may have "
               "done part of its work. Free memory, then check the task's state or clear it "
               "and make it again.";
    case status::unexpectedFailure:
        return "The simulated board met an unexpected failure and abandoned the call, which "
               "may have done part of its work. Check the task's state or clear it and make "
               "it again; the details name the failure.";
    default:
        return "";
    }
}

} // namespace simboard
