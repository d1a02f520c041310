#include "module/crash_filter.h"

#include <array>
#include <ctime>
#include <new>

#include "abi/errors.h"
#include "platform/host_module.h"
#include "webrill/abi.h"

namespace webrill::module {

namespace {

TQuorelHandleException HostExceptionHook() {
    static const TQuorelHandleException hook = [] {
        platform::ModuleHandle program = platform::MainProgramModule();
        auto* symbol = reinterpret_cast<TQuorelHandleException>(
            platform::ModuleSymbol(program, "Quorel_HandleException"));
        platform::ReleaseModule(program);  // the main program stays loaded; the symbol stays valid
        return symbol;
    }();
    return hook;
}

uint32_t NowSeconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec);
}

}  // namespace

CaughtException ClassifyException(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc& e) {
        return {FaultKind::OutOfMemory, "EOutOfMemory", e.what()};
    } catch (const EAssertionFailed& e) {
        return {FaultKind::AssertionFailure, "EAssertionFailed", e.what()};
    } catch (const EAccessViolation& e) {
        return {FaultKind::AccessViolation, "EAccessViolation", e.what()};
    } catch (const std::exception& e) {
        return {FaultKind::Other, "Exception", e.what()};
    } catch (...) {
        return {FaultKind::Other, "Exception", "unknown exception"};
    }
}

bool CrashFilter::Pass(CaughtException& report, uint32_t nowSeconds, int32_t& flag) {
    switch (report.Kind) {
        case FaultKind::OutOfMemory:
        case FaultKind::AssertionFailure:
            flag = 0;
            return true;
        case FaultKind::Other:
            return false;
        case FaultKind::AccessViolation:
            break;
    }
    // The times of this thread's last ten access violations, as a ring.
    thread_local std::array<uint32_t, kAccessViolationBurst> times{};
    thread_local int seen = 0;
    times[seen % kAccessViolationBurst] = nowSeconds;
    ++seen;
    if (seen < kAccessViolationBurst) return false;
    for (uint32_t time : times) {
        if (nowSeconds - time >= kAccessViolationWindowSeconds) return false;
    }
    report.ClassName = "EAccessViolation10";
    flag = 1;
    return true;
}

void ReportBoundaryException(const std::exception_ptr& error) {
    try {
        CaughtException report = ClassifyException(error);
        int32_t flag = 1;
        if (!CrashFilter::Pass(report, NowSeconds(), flag)) return;
        if (TQuorelHandleException hook = HostExceptionHook())
            hook(report.ClassName.c_str(), report.Message.c_str(), &flag);
    } catch (...) {
    }
}

}  // namespace webrill::module
