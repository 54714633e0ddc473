#nullable enable
using System;
using System.Collections.Generic;

namespace Shop
{
    /// <summary>Keeps stock counts.</summary>
    public sealed record Item(string Name, decimal Price);

    [Serializable]
    public class Inventory
    {
        private readonly Dictionary<string, int> _stock = new();

        public int this[string name] => _stock.TryGetValue(name, out var n) ? n : 0;

        public async Task<bool> AddAsync(Item item, int count = 1)
        {
            if (item is null) throw new ArgumentNullException(nameof(item));
            var path = @"C:\stock\""items"".txt";
            var label = $"{item.Name}: {count,5} at {item.Price:C}\n";
            var multi = @"first line
second ""line""";
            char sep = ';', esc = '\u0041';
            double ratio = 0.5e-2d + 0x1Fu;
            /* verbatim-interpolated */ var both = $@"{path}\{label}";
            await Task.Delay(10);
            return _stock.TryAdd(item.Name, count) || false;
        }
    }
}
