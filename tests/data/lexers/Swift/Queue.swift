import Foundation

/// A first-in first-out queue.
@frozen public struct Queue<Element>: Sequence {
    private var items: [Element] = []

    public mutating func push(_ item: Element) { items.append(item) }

    @discardableResult
    public mutating func pop() -> Element? {
        guard !items.isEmpty else { return nil }
        return items.removeFirst()
    }
}

/* Nested /* comments */ are
   still open here */ let limit = 1_024
#if DEBUG
let debug = true
#endif
let greeting = "Hello, \(name)!\n"
let raw = #"a "raw" \n string"#
let poem = """
    Roses are "red",
    violets are blue.
    """
let hex = 0xFF_FF, float = 6.02e23, value: Double = .pi
func describe(_ value: Any) -> String { String(describing: value) }
