#include "cli/app/delivery_report.h"

namespace tagwright::cli {

std::string failedJobText(const FailedJob& failed) {
  const Delivery& d = failed.delivery;
  std::string text = "print job " + std::to_string(failed.number) + " failed on " + d.port + " (" +
                     d.target + "): " + (d.failure.empty() ? "not all of it was taken" : d.failure);
  if (!d.countKnown) {
    if (d.tookAll == Delivery::Taker::Printer) {
      return text +
             ". How much of it was printed is not known: check the printer before "
             "printing the job again.";
    }
    return text + ". The server took all " + std::to_string(failed.size) +
           " bytes; how much of it was printed is not known: check the printer and the queue "
           "before printing the job again.";
  }
  text += "; " + std::to_string(failed.delivered) + " of " + std::to_string(failed.size) +
          " bytes reached the printer. ";
  text += failed.delivered == 0
              ? "None of it arrived; check the printer, then print the job again."
              : "It was not sent again: check what the printer made of it before printing the "
                "job again.";
  return text;
}

}  // namespace tagwright::cli
