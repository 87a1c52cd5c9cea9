export interface EngineOptions {
  /** The engine's command-line arguments, such as ['-h', '64'] (its table in megabytes). */
  args?: string[];
}

export interface Engine {
  /** Calls listener with every line the engine writes, without its newline. */
  onLine(listener: (line: string) => void): void;
  /** Calls listener with the message of an error that ended the engine, such as a file not found. */
  onError(listener: (message: string) => void): void;
  /** One input line, such as 'uci' or 'go infinite'; a string with newlines is several. */
  send(line: string): void;
  /** Closes the engine's input; resolves when the engine has ended. */
  end(): Promise<void>;
  /** Stops the engine at once. */
  terminate(): void;
}

/** Starts the engine in a Web Worker, or under Node in a worker thread. */
export function createEngine(options?: EngineOptions): Engine;
