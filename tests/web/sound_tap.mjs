// The sound that reaches the speakers, read where it leaves the page: every
// connection to an output goes through an analyser first. Put into a page
// before its own scripts as `(${tapSound})();`; then window.testSoundPeak()
// answers the loudest of the last 4096 samples at any output.
export function tapSound() {
  const connect = AudioNode.prototype.connect;
  window.testTaps = [];
  AudioNode.prototype.connect = function (target, ...rest) {
    if (target instanceof AudioDestinationNode) {
      const context = target.context;
      if (!context.testTap) {
        context.testTap = context.createAnalyser();
        context.testTap.fftSize = 4096;
        connect.call(context.testTap, target);
        window.testTaps.push(context.testTap);
      }
      return connect.call(this, context.testTap, ...rest);
    }
    return connect.call(this, target, ...rest);
  };
  window.testSoundPeak = function () {
    let peak = 0;
    for (const tap of window.testTaps) {
      const samples = new Float32Array(tap.fftSize);
      tap.getFloatTimeDomainData(samples);
      for (const value of samples) {
        peak = Math.max(peak, Math.abs(value));
      }
    }
    return peak;
  };
}
